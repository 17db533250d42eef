#include "fixture/cardfixture.h"
#include "tools/runprogram.h"
#include "transfer/copyengine.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray Pattern(qint64 size, int seed) {
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((seed * 31 + i * 13) % 253);
    return bytes;
}

// A card root "card" whose Roland folder holds `count` files of varied sizes, and a backup
// folder "dest" whose Roland folder holds older, different versions of every other file.
class CliBackupTest : public ::testing::Test {
protected:
    QString path(const char* relative) const {
        return m_dir.path() + u'/' + QString::fromUtf8(relative);
    }
    static QString relativeFile(int i) {
        return QStringLiteral("Roland/BR0/SONG%1.BR0/TAKE%2.BR0").arg(i / 5).arg(i);
    }
    void writeTree(int count) {
        for (int i = 0; i < count; ++i) {
            m_new.append(Pattern(20000 + (i % 7) * 150000, i));
            ASSERT_TRUE(m_card.writeFile(relativeFile(i), m_new.last()));
            m_old.append(i % 2 == 0 ? Pattern(5000 + i, 1000 + i) : QByteArray());
            ASSERT_TRUE(m_old.last().isEmpty() || m_dest.writeFile(relativeFile(i), m_old.last()));
        }
    }
    // Each backed-up file is absent, or whole in its old or its new version; no temporary
    // file is left when `clean`.
    void expectEveryFileWhole(bool clean) const {
        for (int i = 0; i < m_new.size(); ++i) {
            const QString file = m_dest.path(relativeFile(i));
            const QByteArray bytes = m_dest.readFile(relativeFile(i));
            EXPECT_TRUE(!QFileInfo::exists(file) || bytes == m_new[i] ||
                        (!m_old[i].isEmpty() && bytes == m_old[i]))
                << relativeFile(i).toStdString() << " holds " << bytes.size() << " bytes";
        }
        QDirIterator it(m_dest.root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (clean && it.hasNext())
            EXPECT_FALSE(IsCopyTempName(QFileInfo(it.next()).fileName()))
                << it.filePath().toStdString();
    }
    RunResult cli(const char* command, bool replace = false) const {
        QStringList args{QString::fromUtf8(command), m_card.root(), m_dest.root()};
        return RunProgram(SORVANE_CLI_PATH, replace ? args << u"--replace"_s : args);
    }

    QTemporaryDir m_dir;
    CardFixture m_card{path("card")};
    CardFixture m_dest{path("dest")};
    QList<QByteArray> m_new;
    QList<QByteArray> m_old;
};

// A backup skips files already there and names them; a restore replaces them without asking
// and keeps other files of the card.
TEST_F(CliBackupTest, BackupSkipsExistingFilesAndRestoreReplacesThem) {
    writeTree(6);
    RunResult r = cli("backup");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.text.endsWith(
        u"3 copied, 0 replaced, 3 skipped, 0 failed, "_s +
        QString::number(m_new[1].size() + m_new[3].size() + m_new[5].size()) + u" bytes, 0:00\n"_s))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains(u"skipped: "_s + m_card.path(relativeFile(0))));
    EXPECT_TRUE(QFileInfo(path("dest/WAV")).isDir() && QFileInfo(path("dest/MP3")).isDir());
    EXPECT_EQ(m_dest.readFile(relativeFile(0)), m_old[0]);
    ASSERT_TRUE(m_dest.writeFile(u"Roland/extra.bin"_s, "keep"));
    r = RunProgram(SORVANE_CLI_PATH, {u"restore"_s, m_card.root(), m_dest.root()});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.text.contains(u"0 copied, 6 replaced, 0 skipped, 0 failed"_s));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(m_dest.readFile(relativeFile(i)), m_new[i]);
    EXPECT_EQ(m_dest.readFile(u"Roland/extra.bin"_s), "keep");
}

// Killed at any moment, a backup leaves every file absent, old or new, and whole; the next
// run clears what the killed ones left and finishes.
TEST_F(CliBackupTest, KilledBackupsNeverLeaveAHalfWrittenFile) {
    writeTree(40);
    QRandomGenerator random(20261207);
    for (int round = 0; round < 25; ++round) {
        QProcess process;
        process.start(QString::fromUtf8(SORVANE_CLI_PATH),
                      {u"backup"_s, m_card.root(), m_dest.root(), u"--replace"_s});
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(random.bounded(5, 120));
        process.kill();
        process.waitForFinished();
        expectEveryFileWhole(false);
    }
    const RunResult r = cli("backup", true);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectEveryFileWhole(true);
    for (int i = 0; i < m_new.size(); ++i)
        EXPECT_EQ(m_dest.readFile(relativeFile(i)), m_new[i]);
}

// Ctrl-C stops the copy, says so, exits 130 and leaves no temporary or partial file.
TEST_F(CliBackupTest, InterruptedBackupExits130AndCleansUp) {
    writeTree(4);
    ASSERT_TRUE(m_card.writeSizedFile(u"Roland/big.bin"_s, 400'000'000));
    QProcess process;
    process.start(QString::fromUtf8(SORVANE_CLI_PATH), {u"backup"_s, m_card.root(), m_dest.root()});
    ASSERT_TRUE(process.waitForStarted());
    // Interrupted once the large file is being written (the handler is in place by then).
    const QString temp = m_dest.path(u"Roland/"_s + CopyTempName(u"big.bin"_s));
    for (int waited = 0; waited < 20000 && !QFileInfo::exists(temp); waited += 5)
        QThread::msleep(5);
    ASSERT_EQ(process.state(), QProcess::Running); // never signal a pid that is gone
    ASSERT_GT(process.processId(), 0);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_TRUE(process.readAllStandardOutput().contains("Interrupted: "));
    EXPECT_FALSE(QFileInfo::exists(path("dest/Roland/big.bin")));
    expectEveryFileWhole(true);
}

} // namespace
