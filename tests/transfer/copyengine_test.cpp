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

using R = FileFaultRule;
using Posix = PosixCopyFileLayer;

// The real file system with faults put in on purpose; every flush and rename asked for is
// logged in order ("syncfs", "sync <path>", "rename <to>").
class FaultyFiles : public Posix {
public:
    QList<FileFaultRule> rules;
    QStringList log;
    std::optional<std::int64_t> free; // replaces the real free space when set

    int openSource(const QString& p, FileFault& f) override {
        return hit(R::OpenSource, p, 0, f) ? -1 : opened(Posix::openSource(p, f), p);
    }
    int createTarget(const QString& p, FileFault& f) override {
        return hit(R::CreateTarget, p, 0, f) ? -1 : opened(Posix::createTarget(p, f), p);
    }
    std::int64_t read(int handle, char* buffer, std::int64_t size, FileFault& f) override {
        auto& [path, bytes] = m_open[handle];
        const std::int64_t got =
            hit(R::Read, path, bytes, f) ? -1 : Posix::read(handle, buffer, size, f);
        bytes += std::max<std::int64_t>(got, 0);
        return got;
    }
    bool write(int handle, const char* data, std::int64_t size, FileFault& f) override {
        auto& [path, bytes] = m_open[handle];
        bytes += size;
        return !hit(R::Write, path, bytes, f) && Posix::write(handle, data, size, f);
    }
    bool syncFileSystem(const QString& folder, FileFault& f) override {
        log.append(QStringLiteral("syncfs"));
        return !hit(R::SyncFileSystem, folder, 0, f) && Posix::syncFileSystem(folder, f);
    }
    bool syncPath(const QString& p, FileFault& f) override {
        log.append(QStringLiteral("sync ") + p);
        return Posix::syncPath(p, f);
    }
    bool rename(const QString& from, const QString& to, FileFault& f) override {
        log.append(QStringLiteral("rename ") + to);
        return !hit(R::Rename, to, 0, f) && Posix::rename(from, to, f);
    }
    std::optional<std::int64_t> freeBytes(const QString& folder) override {
        return free ? free : Posix::freeBytes(folder);
    }

private:
    bool hit(R::Op op, const QString& path, std::int64_t bytes, FileFault& fault) {
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
        return conflictAnswers.value(std::min(conflicts.size(), conflictAnswers.size()) - 1,
                                     ConflictAnswer::Cancel);
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
// folder; the destination is "dst", which holds "old <name>" for every file when `old`.
class CopyEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < Files.size(); ++i) {
            QByteArray bytes(Sizes[i], '\0');
            for (qint64 at = 0; at < Sizes[i]; ++at)
                bytes[at] = static_cast<char>(i + at * 7 % 251);
            ASSERT_TRUE(m_src.writeFile(Files[i], bytes));
        }
        ASSERT_TRUE(m_src.makeFolder(QStringLiteral("USB")));
    }

    void resetTargets(bool old) {
        QDir(m_dst.root()).removeRecursively();
        for (const QString& file : Files)
            ASSERT_TRUE(!old || m_dst.writeFile(file, "old " + file.toUtf8()));
    }
    QStringList tempsLeft() const {
        QStringList temps;
        QDirIterator it(m_dst.root(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            if (const QString path = it.next(); IsCopyTempName(QFileInfo(path).fileName()))
                temps.append(path);
        return temps;
    }
    // Every target is whole: new, or as it was before (old, or absent); no temporary file is
    // left. Returns how many are new.
    int expectWholeTargets(bool old) const {
        int newFiles = 0;
        for (const QString& file : Files) {
            const QByteArray now = m_dst.readFile(file);
            newFiles += now == m_src.readFile(file) ? 1 : 0;
            EXPECT_TRUE(now == m_src.readFile(file) ||
                        now == (old ? "old " + file.toUtf8() : QByteArray()))
                << file.toStdString();
        }
        EXPECT_TRUE(tempsLeft().isEmpty()) << tempsLeft().join(u' ').toStdString();
        return newFiles;
    }
    CopyResult copy(ScriptedObserver& observer, bool replace = false) {
        return CopyEngine(m_files).copy({m_src.root(), m_dst.root(), replace}, observer);
    }

    QTemporaryDir m_dir;
    CardFixture m_src{m_dir.path() + QStringLiteral("/src")};
    CardFixture m_dst{m_dir.path() + QStringLiteral("/dst")};
    FaultyFiles m_files;
    ScriptedObserver m_observer;
};

// Every question with every answer, a fault on the take file and a cancel inside it; cases
// that replace without asking also run with no older targets. Each target stays absent, old
// or new and whole, no temporary file is left, the question names the failing side, and the
// counts are honest.
TEST_F(CopyEngineTest, EveryAnswerLeavesWholeTargetsAndHonestCounts) {
    using A = ConflictAnswer;
    using E = ErrorAnswer;
    const QString T = QStringLiteral("TAKE_EVT");
    const struct {
        const char* name;
        bool replace; // without asking
        QList<ConflictAnswer> answers;
        QList<FileFaultRule> rules;
        ErrorAnswer onError;
        std::int64_t cancelAt; // bytes after which the user cancels, or -1
        int asked;
        int newFiles;
        int skipped;
    } cases[] = {
        {"replace all", false, {A::ReplaceAll}, {}, E::Skip, -1, 1, 4, 0},
        {"skip all", false, {A::SkipAll}, {}, E::Skip, -1, 1, 0, 4},
        {"one by one", false, {A::Skip, A::Replace, A::Skip, A::Replace}, {}, E::Skip, -1, 4, 2, 2},
        {"replace then skip all", false, {A::Replace, A::SkipAll}, {}, E::Skip, -1, 2, 1, 3},
        {"cancel", false, {A::Cancel}, {}, E::Skip, -1, 1, 0, 0},
        {"retry", false, {A::Replace}, {{R::Write, T, ENOSPC, 0, 1}}, E::Retry, -1, 4, 4, 0},
        {"without asking", true, {}, {}, E::Skip, -1, 0, 4, 0},
        {"cancel inside the take file", true, {}, {}, E::Skip, 1 << 20, 0, 0, 0},
        {"disk full mid-file", true, {}, {{R::Write, T, ENOSPC, 1500000}}, E::Skip, -1, 0, 3, 0},
        {"read error mid-file", true, {}, {{R::Read, T, EIO, 1 << 20}}, E::Skip, -1, 0, 3, 0},
        {"source vanished", true, {}, {{R::OpenSource, T, ENOENT}}, E::Skip, -1, 0, 3, 0},
        {"name refused", true, {}, {{R::CreateTarget, T, EINVAL}}, E::Skip, -1, 0, 3, 0},
        {"rename refused", true, {}, {{R::Rename, T, EACCES}}, E::Skip, -1, 0, 3, 0},
        {"retry disk full", true, {}, {{R::Write, T, ENOSPC, 1500000, 1}}, E::Retry, -1, 0, 4, 0},
        {"cancel at the error", true, {}, {{R::Write, T, ENOSPC, 1500000}}, E::Cancel, -1, 0, 0, 0},
    };
    for (const bool old : {true, false}) {
        for (const auto& c : cases) {
            if (!old && !c.replace)
                continue;
            SCOPED_TRACE(std::string(c.name) + (old ? ", replacing" : ", new"));
            resetTargets(old);
            m_files.rules = c.rules;
            ScriptedObserver observer;
            observer.conflictAnswers = c.answers;
            observer.errorAnswers = {c.onError};
            observer.cancelAfterBytes = c.cancelAt;
            const CopyResult result = copy(observer, c.replace);
            EXPECT_EQ(observer.conflicts.size(), c.asked);
            EXPECT_EQ(expectWholeTargets(old), c.newFiles);
            EXPECT_EQ(result.copied + result.replaced, c.newFiles);
            EXPECT_EQ(old ? result.copied : result.replaced, 0);
            EXPECT_EQ(result.skipped, c.skipped);
            EXPECT_EQ(result.cancelled, (c.asked > 0 && c.answers.first() == A::Cancel) ||
                                            c.cancelAt > 0 || c.onError == E::Cancel);
            EXPECT_EQ(result.complete(), c.newFiles == 4);
            EXPECT_TRUE(c.cancelAt < 0 || observer.last.bytesDone < BigSize);
            ASSERT_EQ(observer.errors.size(), c.rules.size());
            if (c.rules.isEmpty())
                continue;
            const QString reason = FaultOf(c.rules[0].code).text;
            const bool sourceSide = c.rules[0].op == R::OpenSource || c.rules[0].op == R::Read;
            EXPECT_EQ(observer.errors[0], (sourceSide ? m_src : m_dst).path(Big) + u'|' + reason);
            EXPECT_EQ(m_dst.readFile(Big) == m_src.readFile(Big), c.newFiles == 4);
            ASSERT_EQ(result.failures.size(), result.failed);
            EXPECT_EQ(result.failed, c.onError == E::Skip ? 1 : 0);
            EXPECT_TRUE(result.failed == 0 || result.failures[0].reason == reason);
        }
    }
}

// Refused before anything is made, naming the folder or both sizes: a missing source, a
// destination inside the source (also through a link), and a copy that does not fit. The
// existing take file is 3 bytes long, so replacing it adds BigSize - 3 bytes: exactly that
// much free space is enough.
TEST_F(CopyEngineTest, RefusalsNameTheFolderOrBothSizesAndTouchNothing) {
    ASSERT_TRUE(QFile::link(m_src.root(), m_dir.path() + QStringLiteral("/alias")));
    const QString src = m_src.root();
    const QString dst = m_dst.root();
    const QString none = m_dir.path() + QStringLiteral("/none");
    const QString deeper = m_src.path(QStringLiteral("BR0/new/deeper"));
    const QString alias = m_dir.path() + QStringLiteral("/alias/inside");
    const std::int64_t added = BigSize - 3 + 468 + 10 + 100;
    const QStringList sizes = {FormatSizeText(added, SizeUnitAuto),
                               FormatSizeText(added - 1, SizeUnitAuto)};
    const std::tuple<QString, QString, std::int64_t, QStringList> cases[] = {
        {none, dst, -1, {none}},      {src, src, -1, {src}},
        {src, src + u'/', -1, {src}}, {src, deeper, -1, {deeper}},
        {src, alias, -1, {alias}},    {src, m_dir.path() + QStringLiteral("/src-sibling"), -1, {}},
        {src, dst, added, {}},        {src, dst, added - 1, sizes},
    };
    for (const auto& [source, destination, free, named] : cases) {
        SCOPED_TRACE(destination.toStdString() + ", free " + std::to_string(free));
        resetTargets(false);
        ASSERT_TRUE(m_dst.writeFile(Big, "old"));
        m_files.free = free < 0 ? std::nullopt : std::optional(free);
        const CopyResult result = CopyEngine(m_files).copy({source, destination, true}, m_observer);
        EXPECT_EQ(result.refused, !named.isEmpty());
        EXPECT_EQ(result.complete(), named.isEmpty());
        for (const QString& part : named)
            EXPECT_TRUE(result.refusal.contains(part)) << result.refusal.toStdString();
        if (result.refused) {
            EXPECT_FALSE(QFileInfo::exists(m_src.path(QStringLiteral("BR0/new"))));
            EXPECT_FALSE(QFileInfo::exists(m_src.path(QStringLiteral("inside"))));
            EXPECT_FALSE(QFileInfo::exists(m_dst.path(QStringLiteral("SMF"))));
            EXPECT_EQ(m_dst.readFile(Big), "old");
        }
    }
}

// Every file, folder and hidden file is copied with its time; links are skipped and never
// followed; temporary files an interrupted copy left are removed from the destination and
// never copied from the source. Files are renamed only after a flush that covers them: one
// flush per batch (of two files here), or one per file when the file-system flush fails.
TEST_F(CopyEngineTest, CopiesEverythingAndRenamesOnlyAfterAFlush) {
    ASSERT_TRUE(m_src.makeSymlink(QStringLiteral("outside"), m_dir.path()));
    ASSERT_TRUE(m_src.makeSymlink(QStringLiteral("SMF/b.mid"), m_src.path(Files[3])));
    ASSERT_TRUE(m_src.writeFile(CopyTempName(QStringLiteral("x")), "half"));
    for (const bool fsFlushFails : {false, true}) {
        SCOPED_TRACE(fsFlushFails);
        resetTargets(false);
        ASSERT_TRUE(
            m_dst.writeFile(QStringLiteral("SMF/") + CopyTempName(Files[3].mid(4)), "half"));
        ASSERT_TRUE(m_dst.writeFile(CopyTempName(QStringLiteral("gone.bin")), "half"));
        m_files.log.clear();
        m_files.rules = {{R::SyncFileSystem, QString(), EIO, 0, fsFlushFails ? -1 : 0}};
        ScriptedObserver observer;
        const CopyResult result = CopyEngine(m_files, CopyBatchLimits{2, 1 << 30})
                                      .copy({m_src.root(), m_dst.root(), false}, observer);
        EXPECT_EQ(result.copied, 4);
        EXPECT_EQ(result.filesTotal, 4);
        EXPECT_EQ(result.skipped, 2);
        EXPECT_TRUE(result.skippedFiles.contains(m_src.path(QStringLiteral("outside"))));
        EXPECT_EQ(result.bytesWritten, BigSize + 468 + 10 + 100);
        EXPECT_EQ(expectWholeTargets(false), 4);
        for (const QString& file : Files)
            EXPECT_EQ(QFileInfo(m_dst.path(file)).lastModified(),
                      QFileInfo(m_src.path(file)).lastModified());
        EXPECT_TRUE(QFileInfo(m_dst.path(QStringLiteral("USB"))).isDir());
        EXPECT_FALSE(QFileInfo::exists(m_dst.path(QStringLiteral("outside"))));
        EXPECT_FALSE(QFileInfo::exists(m_dst.path(QStringLiteral("SMF/b.mid"))));
        EXPECT_TRUE(QFileInfo::exists(m_src.path(CopyTempName(QStringLiteral("x")))));
        EXPECT_EQ(observer.last.filesDone, 4);
        EXPECT_EQ(observer.last.bytesDone, observer.last.bytesTotal);
        QStringList expected;
        for (int i = 0; i < Files.size(); ++i) {
            const QFileInfo target(m_dst.path(Files[i]));
            if (i % 2 == 0)
                expected << QStringLiteral("syncfs");
            if (fsFlushFails)
                expected << QStringLiteral("sync ") + target.path() + u'/' +
                                CopyTempName(target.fileName());
            expected << QStringLiteral("rename ") + target.filePath();
        }
        EXPECT_EQ(m_files.log, expected << QStringLiteral("syncfs"));
    }
    // Temporary names stay within the name limit.
    EXPECT_TRUE(IsCopyTempName(CopyTempName(QString(300, u'x'))));
    EXPECT_LE(CopyTempName(QString(300, u'x')).size(), 255);
    EXPECT_FALSE(IsCopyTempName(QStringLiteral(".sorvane-.part")));
}

} // namespace
