#include "faultyfiles.h"
#include "fixture/cardfixture.h"
#include "transfer/sizetext.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr qint64 BigSize = 3 * 1024 * 1024 + 123;
const QString Big = QStringLiteral("BR0/SONG001.BR0/TAKE_EVT.BR0");

QByteArray Pattern(qint64 size, char seed) {
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 7 % 251);
    return bytes;
}

// A source folder "src" with a large take file, small files, a hidden file and an empty
// folder; the destination is "dst".
class CopyEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        CardFixture source(src());
        ASSERT_TRUE(source.writeFile(Big, Pattern(BigSize, 'n')));
        ASSERT_TRUE(
            source.writeFile(QStringLiteral("BR0/SONG001.BR0/songinf2.br0"), Pattern(468, 's')));
        ASSERT_TRUE(source.writeFile(QStringLiteral(".hidden"), Pattern(10, 'h')));
        ASSERT_TRUE(source.writeFile(QStringLiteral("SMF/a.mid"), Pattern(100, 'm')));
        ASSERT_TRUE(source.makeFolder(QStringLiteral("USB")));
    }

    QString src() const { return m_dir.path() + QStringLiteral("/src"); }
    QString dst() const { return m_dir.path() + QStringLiteral("/dst"); }
    QByteArray read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }
    QStringList relativeFiles() const {
        return {QStringLiteral(".hidden"), Big, QStringLiteral("BR0/SONG001.BR0/songinf2.br0"),
                QStringLiteral("SMF/a.mid")};
    }
    // Starts each case afresh: every destination file holds "old <name>" when `old`.
    void resetTargets(bool old) {
        QDir(dst()).removeRecursively();
        for (const QString& file : relativeFiles()) {
            if (old) {
                ASSERT_TRUE(CardFixture(dst()).writeFile(file, "old " + file.toUtf8()));
            }
        }
    }
    QStringList tempsLeft() const {
        QStringList temps;
        QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            if (const QString path = it.next(); IsCopyTempName(QFileInfo(path).fileName()))
                temps.append(path);
        return temps;
    }
    CopyResult copy(ScriptedObserver& observer, bool replace = false, QString from = {},
                    QString to = {}) {
        CopyEngine engine(m_files);
        return engine.copy({from.isEmpty() ? src() : from, to.isEmpty() ? dst() : to, replace},
                           observer);
    }

    QTemporaryDir m_dir;
    FaultyFiles m_files;
    ScriptedObserver m_observer;
};

// Links are skipped and never followed; temporary files an interrupted copy left are
// removed from the destination and never copied from the source.
TEST_F(CopyEngineTest, CopiesEveryFileFolderAndHiddenFileKeepingTimes) {
    CardFixture source(src());
    ASSERT_TRUE(source.makeSymlink(QStringLiteral("outside"), m_dir.path()));
    ASSERT_TRUE(
        source.makeSymlink(QStringLiteral("SMF/b.mid"), src() + QStringLiteral("/SMF/a.mid")));
    ASSERT_TRUE(source.writeFile(CopyTempName(QStringLiteral("x")), "half"));
    CardFixture target(dst());
    ASSERT_TRUE(
        target.writeFile(QStringLiteral("SMF/") + CopyTempName(QStringLiteral("a.mid")), "half"));
    ASSERT_TRUE(target.writeFile(CopyTempName(QStringLiteral("gone.bin")), "half"));
    const CopyResult result = copy(m_observer);
    EXPECT_EQ(result.copied, 4);
    EXPECT_EQ(result.filesTotal, 4);
    EXPECT_EQ(result.skipped, 2);
    EXPECT_TRUE(result.skippedFiles.contains(src() + QStringLiteral("/outside")));
    EXPECT_FALSE(result.complete());
    EXPECT_EQ(result.bytesWritten, BigSize + 468 + 10 + 100);
    for (const QString& file : relativeFiles()) {
        EXPECT_EQ(read(dst() + u'/' + file), read(src() + u'/' + file)) << file.toStdString();
        EXPECT_EQ(QFileInfo(dst() + u'/' + file).lastModified(),
                  QFileInfo(src() + u'/' + file).lastModified());
    }
    EXPECT_TRUE(QFileInfo(dst() + QStringLiteral("/USB")).isDir());
    EXPECT_FALSE(QFileInfo::exists(dst() + QStringLiteral("/outside")));
    EXPECT_FALSE(QFileInfo::exists(dst() + QStringLiteral("/SMF/b.mid")));
    EXPECT_TRUE(tempsLeft().size() == 1 && tempsLeft().first().startsWith(src()));
    EXPECT_EQ(m_observer.last.filesDone, 4);
    EXPECT_EQ(m_observer.last.bytesDone, m_observer.last.bytesTotal);
}

TEST_F(CopyEngineTest, TemporaryNamesStayWithinTheNameLimit) {
    EXPECT_TRUE(IsCopyTempName(CopyTempName(QString(300, u'x'))));
    EXPECT_LE(CopyTempName(QString(300, u'x')).size(), 255);
    EXPECT_FALSE(IsCopyTempName(QStringLiteral(".sorvane-.part")));
}

// A fault on the large file: what the target holds afterwards, with and without an older
// target already there.
TEST_F(CopyEngineTest, FaultsLeaveEveryTargetAbsentOldOrNewAndWhole) {
    using R = FileFaultRule;
    using E = ErrorAnswer;
    struct Case {
        const char* name;
        FileFaultRule::Op op;
        int code;
        std::int64_t after;
        int times;
        ErrorAnswer answer;
        bool bigIsNew;
        bool sourceFailed;
    };
    const Case cases[] = {
        {"disk full mid-file", R::Write, ENOSPC, 1500000, -1, E::Skip, false, false},
        {"read error mid-file", R::Read, EIO, 1048576, -1, E::Skip, false, true},
        {"name refused", R::CreateTarget, EINVAL, 0, -1, E::Skip, false, false},
        {"file too large", R::Write, EFBIG, 2000000, -1, E::Skip, false, false},
        {"retry after disk full", R::Write, ENOSPC, 1500000, 1, E::Retry, true, false},
        {"rename refused", R::Rename, EACCES, 0, -1, E::Skip, false, false},
        {"cancel at the error", R::Write, ENOSPC, 1500000, -1, E::Cancel, false, false},
    };
    for (const bool existing : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (existing ? ", replacing" : ", new"));
            resetTargets(existing);
            m_files.rules = {{c.op, QStringLiteral("TAKE_EVT"), c.code, c.after, c.times}};
            ScriptedObserver observer;
            observer.errorAnswers = {c.answer};
            const CopyResult result = copy(observer, true);
            const QByteArray expected = c.bigIsNew ? read(src() + u'/' + Big)
                                        : existing ? "old " + Big.toUtf8()
                                                   : QByteArray("<absent>");
            EXPECT_EQ(read(dst() + u'/' + Big), expected);
            EXPECT_TRUE(tempsLeft().isEmpty()) << tempsLeft().join(u' ').toStdString();
            EXPECT_EQ(result.cancelled, c.answer == E::Cancel);
            EXPECT_FALSE(result.complete() && !c.bigIsNew);
            ASSERT_FALSE(observer.errors.isEmpty());
            EXPECT_EQ(observer.errors.first(),
                      (c.sourceFailed ? src() : dst()) + u'/' + Big + u'|' + FaultOf(c.code).text);
            if (c.answer == E::Skip) {
                ASSERT_EQ(result.failures.size(), 1);
                EXPECT_EQ(result.failed, 1);
                EXPECT_EQ(result.failures.first().reason, FaultOf(c.code).text);
                EXPECT_EQ(result.copied + result.replaced, 3);
            }
        }
    }
}

TEST_F(CopyEngineTest, VanishedSourceIsAskedAboutAndReported) {
    const QString vanishing = src() + QStringLiteral("/SMF/a.mid");
    m_files.beforeOpen = [&](const QString& path) {
        if (path == vanishing)
            QFile::remove(path);
    };
    const CopyResult result = copy(m_observer);
    ASSERT_EQ(result.failures.size(), 1);
    EXPECT_EQ(result.failures.first().path, vanishing);
    EXPECT_EQ(result.failures.first().reason, FaultOf(ENOENT).text);
    EXPECT_EQ(result.copied, 3);
    EXPECT_FALSE(QFileInfo::exists(dst() + QStringLiteral("/SMF/a.mid")));
}

TEST_F(CopyEngineTest, CancelInsideALargeFileKeepsTheOldTargetsWhole) {
    resetTargets(true);
    m_observer.cancelAfterBytes = 1024 * 1024;
    const CopyResult result = copy(m_observer, true);
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.complete());
    EXPECT_LT(m_observer.last.bytesDone, BigSize);
    for (const QString& file : relativeFiles())
        EXPECT_EQ(read(dst() + u'/' + file), "old " + file.toUtf8());
    EXPECT_TRUE(tempsLeft().isEmpty());
}

TEST_F(CopyEngineTest, ConflictAnswersHoldAsAsked) {
    using A = ConflictAnswer;
    struct Case {
        const char* name;
        QList<ConflictAnswer> answers;
        bool replaceWithoutAsking;
        int asked;
        int replaced;
        int skipped;
        bool cancelled;
        bool writeFaultOnce = false; // the take file fails once and is retried
    };
    const Case cases[] = {
        {"replace all", {A::ReplaceAll}, false, 1, 4, 0, false},
        {"skip all", {A::SkipAll}, false, 1, 0, 4, false},
        {"one by one", {A::Skip, A::Replace, A::Skip, A::Replace}, false, 4, 2, 2, false},
        {"replace then skip all", {A::Replace, A::SkipAll}, false, 2, 1, 3, false},
        {"cancel", {A::Cancel}, false, 1, 0, 0, true},
        {"without asking", {A::Cancel}, true, 0, 4, 0, false},
        {"retry asks no second time", {A::Replace}, false, 4, 4, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetTargets(true);
        m_files.rules.clear();
        if (c.writeFaultOnce)
            m_files.rules = {{FileFaultRule::Write, QStringLiteral("TAKE_EVT"), ENOSPC, 0, 1}};
        ScriptedObserver observer;
        observer.conflictAnswers = c.answers;
        observer.errorAnswers = {ErrorAnswer::Retry};
        const CopyResult result = copy(observer, c.replaceWithoutAsking);
        EXPECT_EQ(observer.errors.size(), c.writeFaultOnce ? 1 : 0);
        EXPECT_EQ(observer.conflicts.size(), c.asked);
        EXPECT_EQ(result.replaced, c.replaced);
        EXPECT_EQ(result.skipped, c.skipped);
        EXPECT_EQ(result.cancelled, c.cancelled);
        EXPECT_EQ(result.copied, 0);
        int newFiles = 0;
        for (const QString& file : relativeFiles()) {
            const QByteArray now = read(dst() + u'/' + file);
            EXPECT_TRUE(now == read(src() + u'/' + file) || now == "old " + file.toUtf8());
            newFiles += now == read(src() + u'/' + file) ? 1 : 0;
        }
        EXPECT_EQ(newFiles, c.replaced);
        EXPECT_TRUE(tempsLeft().isEmpty());
    }
}

// A missing source, and destinations inside the source (also through a link).
TEST_F(CopyEngineTest, MissingSourcesAndNestedDestinationsAreRefused) {
    ASSERT_TRUE(QFile::link(src(), m_dir.path() + QStringLiteral("/alias")));
    const QString none = m_dir.path() + QStringLiteral("/none");
    const struct {
        QString source;
        QString destination;
        QString named; // empty: not refused
    } cases[] = {
        {none, dst(), none},
        {src(), src(), src()},
        {src(), src() + QStringLiteral("/"), src()},
        {src(), src() + QStringLiteral("/BR0/new/deeper"),
         src() + QStringLiteral("/BR0/new/deeper")},
        {src(), m_dir.path() + QStringLiteral("/alias/inside"),
         m_dir.path() + QStringLiteral("/alias/inside")},
        {src(), m_dir.path() + QStringLiteral("/src-sibling"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.destination.toStdString());
        const CopyResult result = copy(m_observer, true, c.source, c.destination);
        EXPECT_EQ(result.refused, !c.named.isEmpty());
        if (result.refused) {
            EXPECT_EQ(result.copied, 0);
            EXPECT_TRUE(result.refusal.contains(c.named)) << result.refusal.toStdString();
            EXPECT_FALSE(QFileInfo::exists(src() + QStringLiteral("/BR0/new")));
            EXPECT_FALSE(QFileInfo::exists(dst()));
        }
    }
}

TEST_F(CopyEngineTest, CopiesThatDoNotFitAreRefusedNamingBothSizes) {
    // The existing take file is 3 bytes long: replacing it adds BigSize - 3 bytes.
    const std::int64_t added = BigSize - 3 + 468 + 10 + 100;
    for (const std::int64_t free : {added, added - 1}) {
        SCOPED_TRACE(free);
        resetTargets(false);
        ASSERT_TRUE(CardFixture(dst()).writeFile(Big, "old"));
        m_files.free = free;
        const CopyResult result = copy(m_observer, true);
        EXPECT_EQ(result.refused, free < added);
        EXPECT_EQ(result.complete(), free == added);
        if (free < added) {
            EXPECT_TRUE(result.refusal.contains(FormatSizeText(added, SizeUnitAuto)));
            EXPECT_TRUE(result.refusal.contains(FormatSizeText(free, SizeUnitAuto)));
            EXPECT_EQ(read(dst() + u'/' + Big), "old");
            EXPECT_FALSE(QFileInfo::exists(dst() + QStringLiteral("/SMF")));
        }
    }
}

// Files are renamed only after a flush that covers them: one flush per batch, or one per
// file when the file-system flush fails.
TEST_F(CopyEngineTest, EveryRenameFollowsAFlushOfItsFile) {
    for (const bool fsFlushFails : {false, true}) {
        SCOPED_TRACE(fsFlushFails);
        resetTargets(false);
        m_files.log.clear();
        m_files.rules.clear();
        if (fsFlushFails)
            m_files.rules = {{FileFaultRule::SyncFileSystem, QString(), EIO}};
        CopyEngine engine(m_files, CopyBatchLimits{2, 1 << 30});
        EXPECT_EQ(engine.copy({src(), dst(), false}, m_observer).copied, 4);
        int flushed = 0;
        int renamed = 0;
        for (const QString& entry : m_files.log) {
            if (entry == QLatin1String("syncfs") && !fsFlushFails)
                flushed = renamed + 2;
            if (entry.startsWith(QLatin1String("sync ")))
                ++flushed;
            if (entry.startsWith(QLatin1String("rename "))) {
                ++renamed;
                EXPECT_LE(renamed, flushed) << entry.toStdString();
            }
        }
        EXPECT_EQ(renamed, 4);
        EXPECT_EQ(m_files.log.count(QStringLiteral("syncfs")), 3);
    }
}

} // namespace
