#include "fixture/cardfixture.h"
#include "transfer/copyengine.h"
#include "transfer/sizetext.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

// An operation on a path containing `pathPart` fails with `code`, reads and writes only once
// `afterBytes` have passed, `times` times (-1: always).
struct FileFaultRule {
    enum Op { OpenSource, CreateTarget, Read, Write, Rename, SyncFileSystem };
    Op op;
    QString pathPart;
    int code = EIO;
    std::int64_t afterBytes = 0;
    int times = -1;
};

// The real file system with faults put in on purpose; every flush and rename is logged in
// order ("syncfs", "sync <path>", "rename <to>").
class FaultyFiles : public PosixCopyFileLayer {
public:
    QList<FileFaultRule> rules;
    QStringList log;
    std::optional<std::int64_t> free; // replaces the real free space when set

    int openSource(const QString& path, FileFault& fault) override {
        return hit(FileFaultRule::OpenSource, path, 0, fault)
                   ? -1
                   : opened(PosixCopyFileLayer::openSource(path, fault), path);
    }
    int createTarget(const QString& path, FileFault& fault) override {
        return hit(FileFaultRule::CreateTarget, path, 0, fault)
                   ? -1
                   : opened(PosixCopyFileLayer::createTarget(path, fault), path);
    }
    std::int64_t read(int handle, char* buffer, std::int64_t size, FileFault& fault) override {
        auto& [path, bytes] = m_open[handle];
        if (hit(FileFaultRule::Read, path, bytes, fault))
            return -1;
        const std::int64_t got = PosixCopyFileLayer::read(handle, buffer, size, fault);
        bytes += std::max<std::int64_t>(got, 0);
        return got;
    }
    bool write(int handle, const char* data, std::int64_t size, FileFault& fault) override {
        auto& [path, bytes] = m_open[handle];
        bytes += size;
        return !hit(FileFaultRule::Write, path, bytes, fault) &&
               PosixCopyFileLayer::write(handle, data, size, fault);
    }
    bool syncFileSystem(const QString& folder, FileFault& fault) override {
        log.append(QStringLiteral("syncfs"));
        return !hit(FileFaultRule::SyncFileSystem, folder, 0, fault) &&
               PosixCopyFileLayer::syncFileSystem(folder, fault);
    }
    bool syncPath(const QString& path, FileFault& fault) override {
        log.append(QStringLiteral("sync ") + path);
        return PosixCopyFileLayer::syncPath(path, fault);
    }
    bool rename(const QString& from, const QString& to, FileFault& fault) override {
        if (hit(FileFaultRule::Rename, to, 0, fault))
            return false;
        log.append(QStringLiteral("rename ") + to);
        return PosixCopyFileLayer::rename(from, to, fault);
    }
    std::optional<std::int64_t> freeBytes(const QString& folder) override {
        return free ? free : PosixCopyFileLayer::freeBytes(folder);
    }

private:
    bool hit(FileFaultRule::Op op, const QString& path, std::int64_t bytes, FileFault& fault) {
        for (FileFaultRule& rule : rules) {
            if (rule.op == op && rule.times != 0 && path.contains(rule.pathPart) &&
                bytes >= rule.afterBytes) {
                rule.times -= rule.times > 0 ? 1 : 0;
                fault = FaultOf(rule.code);
                return true;
            }
        }
        return false;
    }
    // A reused handle starts afresh.
    int opened(int handle, const QString& path) {
        m_open[handle] = {path, 0};
        return handle;
    }

    QMap<int, std::pair<QString, std::int64_t>> m_open; // path, bytes read or written
};

// Answers from lists (the last answer repeats), recording the questions; cancels once the
// bytes done pass `cancelAfterBytes`.
class ScriptedObserver : public CopyObserver {
public:
    QList<ConflictAnswer> conflictAnswers{ConflictAnswer::Cancel};
    QList<ErrorAnswer> errorAnswers{ErrorAnswer::Skip};
    QStringList conflicts;
    QStringList errors; // "path|reason"
    std::int64_t cancelAfterBytes = -1;
    CopyProgress last;

    void progress(const CopyProgress& progress) override { last = progress; }
    ConflictAnswer askConflict(const QString& target, const FileEntry&, const FileEntry&) override {
        conflicts.append(target);
        return conflictAnswers[std::min(conflicts.size(), conflictAnswers.size()) - 1];
    }
    ErrorAnswer askError(const QString& path, const QString& reason) override {
        errors.append(path + u'|' + reason);
        return errorAnswers[std::min(errors.size(), errorAnswers.size()) - 1];
    }
    bool cancelRequested() override {
        return cancelAfterBytes >= 0 && last.bytesDone > cancelAfterBytes;
    }
};

constexpr qint64 BigSize = 3 * 1024 * 1024 + 123;
const QString Big = QStringLiteral("BR0/SONG001.BR0/TAKE_EVT.BR0");
const QStringList Files = {QStringLiteral(".hidden"), Big,
                           QStringLiteral("BR0/SONG001.BR0/songinf2.br0"),
                           QStringLiteral("SMF/a.mid")};
const qint64 Sizes[] = {10, BigSize, 468, 100};

// A source folder "src" with a large take file, small files, a hidden file and an empty
// folder; the destination is "dst".
class CopyEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (int i = 0; i < Files.size(); ++i) {
            QByteArray bytes(Sizes[i], '\0');
            for (qint64 at = 0; at < Sizes[i]; ++at)
                bytes[at] = static_cast<char>(i + at * 7 % 251);
            ASSERT_TRUE(CardFixture(src()).writeFile(Files[i], bytes));
        }
        ASSERT_TRUE(CardFixture(src()).makeFolder(QStringLiteral("USB")));
    }

    QString src() const { return m_dir.path() + QStringLiteral("/src"); }
    QString dst() const { return m_dir.path() + QStringLiteral("/dst"); }
    QByteArray read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }
    // Starts each case afresh: every destination file holds "old <name>" when `old`.
    void resetTargets(bool old) {
        QDir(dst()).removeRecursively();
        for (const QString& file : Files)
            ASSERT_TRUE(!old || CardFixture(dst()).writeFile(file, "old " + file.toUtf8()));
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
    CopyResult copy(ScriptedObserver& observer, bool replace = false) {
        return CopyEngine(m_files).copy({src(), dst(), replace}, observer);
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
    for (const QString& file : Files) {
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
    // Temporary names stay within the name limit.
    EXPECT_TRUE(IsCopyTempName(CopyTempName(QString(300, u'x'))));
    EXPECT_LE(CopyTempName(QString(300, u'x')).size(), 255);
    EXPECT_FALSE(IsCopyTempName(QStringLiteral(".sorvane-.part")));
}

// A fault on the large file, with and without an older target already there: the target is
// absent, old or new and whole, the question names the failing side, the counts are honest.
TEST_F(CopyEngineTest, FaultsLeaveEveryTargetAbsentOldOrNewAndWhole) {
    using R = FileFaultRule;
    using E = ErrorAnswer;
    const QString T = QStringLiteral("TAKE_EVT");
    const struct {
        const char* name;
        FileFaultRule rule;
        ErrorAnswer answer;
        bool bigIsNew;
        bool sourceFailed;
    } cases[] = {
        {"disk full mid-file", {R::Write, T, ENOSPC, 1500000}, E::Skip, false, false},
        {"read error mid-file", {R::Read, T, EIO, 1048576}, E::Skip, false, true},
        {"source vanished", {R::OpenSource, T, ENOENT}, E::Skip, false, true},
        {"name refused", {R::CreateTarget, T, EINVAL}, E::Skip, false, false},
        {"file too large", {R::Write, T, EFBIG, 2000000}, E::Skip, false, false},
        {"retry after disk full", {R::Write, T, ENOSPC, 1500000, 1}, E::Retry, true, false},
        {"rename refused", {R::Rename, T, EACCES}, E::Skip, false, false},
        {"cancel at the error", {R::Write, T, ENOSPC, 1500000}, E::Cancel, false, false},
    };
    for (const bool existing : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (existing ? ", replacing" : ", new"));
            resetTargets(existing);
            m_files.rules = {c.rule};
            ScriptedObserver observer;
            observer.errorAnswers = {c.answer};
            const CopyResult result = copy(observer, true);
            EXPECT_EQ(read(dst() + u'/' + Big), c.bigIsNew ? read(src() + u'/' + Big)
                                                : existing ? "old " + Big.toUtf8()
                                                           : QByteArray("<absent>"));
            EXPECT_TRUE(tempsLeft().isEmpty()) << tempsLeft().join(u' ').toStdString();
            EXPECT_EQ(result.cancelled, c.answer == E::Cancel);
            EXPECT_EQ(result.complete(), c.bigIsNew);
            ASSERT_FALSE(observer.errors.isEmpty());
            EXPECT_EQ(observer.errors.first(), (c.sourceFailed ? src() : dst()) + u'/' + Big +
                                                   u'|' + FaultOf(c.rule.code).text);
            if (c.answer == E::Skip) {
                ASSERT_EQ(result.failures.size(), 1);
                EXPECT_EQ(result.failed, 1);
                EXPECT_EQ(result.failures.first().reason, FaultOf(c.rule.code).text);
                EXPECT_EQ(result.copied + result.replaced, 3);
            }
        }
    }
}

// Conflict answers hold as given, and a cancel inside the large file keeps every old target
// whole.
TEST_F(CopyEngineTest, ConflictAnswersAndCancelHoldAsAsked) {
    using A = ConflictAnswer;
    const struct {
        const char* name;
        QList<ConflictAnswer> answers;
        bool replaceWithoutAsking;
        int asked;
        int replaced;
        int skipped;
        bool writeFaultOnce;   // the take file fails once and is retried
        std::int64_t cancelAt; // bytes after which the user cancels, or -1
    } cases[] = {
        {"replace all", {A::ReplaceAll}, false, 1, 4, 0, false, -1},
        {"skip all", {A::SkipAll}, false, 1, 0, 4, false, -1},
        {"one by one", {A::Skip, A::Replace, A::Skip, A::Replace}, false, 4, 2, 2, false, -1},
        {"replace then skip all", {A::Replace, A::SkipAll}, false, 2, 1, 3, false, -1},
        {"cancel", {A::Cancel}, false, 1, 0, 0, false, -1},
        {"without asking", {A::Cancel}, true, 0, 4, 0, false, -1},
        {"cancel inside the take file", {A::Cancel}, true, 0, 0, 0, false, 1024 * 1024},
        {"retry asks no second time", {A::Replace}, false, 4, 4, 0, true, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetTargets(true);
        m_files.rules.clear();
        if (c.writeFaultOnce)
            m_files.rules = {{FileFaultRule::Write, QStringLiteral("TAKE_EVT"), ENOSPC, 0, 1}};
        ScriptedObserver observer;
        observer.conflictAnswers = c.answers;
        observer.errorAnswers = {ErrorAnswer::Retry};
        observer.cancelAfterBytes = c.cancelAt;
        const CopyResult result = copy(observer, c.replaceWithoutAsking);
        EXPECT_EQ(observer.errors.size(), c.writeFaultOnce ? 1 : 0);
        EXPECT_EQ(observer.conflicts.size(), c.asked);
        EXPECT_EQ(result.replaced, c.replaced);
        EXPECT_EQ(result.skipped, c.skipped);
        EXPECT_EQ(result.cancelled,
                  (c.answers.first() == A::Cancel && c.asked > 0) || c.cancelAt > 0);
        EXPECT_EQ(result.complete(), c.replaced == 4);
        EXPECT_TRUE(c.cancelAt < 0 || observer.last.bytesDone < BigSize);
        EXPECT_EQ(result.copied, 0);
        int newFiles = 0;
        for (const QString& file : Files) {
            const QByteArray now = read(dst() + u'/' + file);
            EXPECT_TRUE(now == read(src() + u'/' + file) || now == "old " + file.toUtf8());
            newFiles += now == read(src() + u'/' + file) ? 1 : 0;
        }
        EXPECT_EQ(newFiles, c.replaced);
        EXPECT_TRUE(tempsLeft().isEmpty());
    }
}

// A missing source, and destinations inside the source (also through a link), are refused
// naming the folder, before anything is made.
TEST_F(CopyEngineTest, MissingSourcesAndNestedDestinationsAreRefused) {
    ASSERT_TRUE(QFile::link(src(), m_dir.path() + QStringLiteral("/alias")));
    const QString none = m_dir.path() + QStringLiteral("/none");
    const QString deeper = src() + QStringLiteral("/BR0/new/deeper");
    const QString alias = m_dir.path() + QStringLiteral("/alias/inside");
    const QString sibling = m_dir.path() + QStringLiteral("/src-sibling");
    const std::tuple<QString, QString, QString> cases[] = {
        {none, dst(), none},     {src(), src(), src()}, {src(), src() + u'/', src()},
        {src(), deeper, deeper}, {src(), alias, alias}, {src(), sibling, {}},
    };
    for (const auto& [source, destination, named] : cases) {
        SCOPED_TRACE(destination.toStdString());
        const CopyResult result = CopyEngine(m_files).copy({source, destination, true}, m_observer);
        EXPECT_EQ(result.refused, !named.isEmpty());
        EXPECT_TRUE(result.refusal.contains(named)) << result.refusal.toStdString();
        if (result.refused) {
            EXPECT_EQ(result.copied, 0);
            EXPECT_FALSE(QFileInfo::exists(src() + QStringLiteral("/BR0/new")));
            EXPECT_FALSE(QFileInfo::exists(dst()));
        }
    }
}

// The existing take file is 3 bytes long: replacing it adds BigSize - 3 bytes. Exactly that
// much free space is enough; a byte less refuses naming both sizes and touches nothing.
TEST_F(CopyEngineTest, CopiesThatDoNotFitAreRefusedNamingBothSizes) {
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
