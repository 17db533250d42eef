#include "fixture/cardfixture.h"
#include "tools/runprogram.h"
#include "transfer/copyengine.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A card root "card" whose Roland folder holds a take file of 20 000 and one of 170 000
// bytes, and a backup folder "dest" that holds an older version of the first.
class CliBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(m_card.writeFile(take(i), QByteArray(20000 + i * 150000, 'a')));
        ASSERT_TRUE(m_dest.writeFile(take(0), "old"));
    }
    static QString take(int i) { return u"Roland/BR0/SONG001.BR0/TAKE%1.BR0"_s.arg(i); }
    RunResult cli(const QString& command, const QStringList& more = {}) const {
        return RunProgram(SORVANE_CLI_PATH,
                          QStringList{command, m_card.root(), m_dest.root()} + more);
    }

    QTemporaryDir m_dir;
    CardFixture m_card{m_dir.path() + u"/card"_s};
    CardFixture m_dest{m_dir.path() + u"/dest"_s};
};

// A backup keeps files already there and names them, and makes the WAV and MP3 folders; a
// restore, or a backup with --replace, replaces files without asking.
TEST_F(CliBackupTest, BackupSkipsExistingFilesAndRestoreReplacesThem) {
    RunResult r = cli(u"backup"_s);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.text, u"skipped: "_s + m_card.path(take(0)) +
                          u"\n1 copied, 0 replaced, 1 skipped, 0 failed, 170000 bytes, 0:00\n"_s);
    EXPECT_TRUE(QFileInfo(m_dest.path(u"WAV"_s)).isDir() &&
                QFileInfo(m_dest.path(u"MP3"_s)).isDir());
    for (const QStringList& args : {QStringList{u"restore"_s}, {u"backup"_s, u"--replace"_s}}) {
        ASSERT_TRUE(m_dest.writeFile(take(0), "old"));
        r = cli(args[0], args.mid(1));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.text.startsWith(u"0 copied, 2 replaced, 0 skipped, 0 failed"_s));
        EXPECT_EQ(m_dest.readFile(take(0)), m_card.readFile(take(0)));
    }
}

// Ctrl-C stops the copy, says so, exits 130 and leaves neither the file it was writing nor
// any temporary file.
TEST_F(CliBackupTest, InterruptedBackupExits130AndCleansUp) {
    ASSERT_TRUE(m_card.writeSizedFile(u"Roland/big.bin"_s, 400'000'000));
    QProcess process;
    process.start(QString::fromUtf8(SORVANE_CLI_PATH), {u"backup"_s, m_card.root(), m_dest.root()});
    ASSERT_TRUE(process.waitForStarted());
    // Interrupted once the large file is being written (the handler is in place by then).
    const QString temp = m_dest.path(u"Roland/"_s + CopyTempName(u"big.bin"_s));
    for (int waited = 0; waited < 20000 && !QFileInfo::exists(temp); waited += 5)
        QThread::msleep(5);
    ASSERT_EQ(process.state(), QProcess::Running); // never signal a pid that is gone
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_TRUE(process.readAllStandardOutput().contains("Interrupted: "));
    EXPECT_FALSE(QFileInfo::exists(m_dest.path(u"Roland/big.bin"_s)));
    QDirIterator it(m_dest.root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        EXPECT_FALSE(IsCopyTempName(QFileInfo(it.next()).fileName()))
            << it.filePath().toStdString();
}

} // namespace
