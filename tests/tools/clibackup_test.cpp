#include "fixture/cardfixture.h"
#include "tools/runprogram.h"
#include "transfer/copyengine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

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
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& relative) const { return m_dir.path() + u'/' + relative; }
    QString relativeFile(int i) const {
        return QStringLiteral("Roland/BR0/SONG%1.BR0/TAKE%2.BR0").arg(i / 5).arg(i);
    }
    void writeTree(int count) {
        CardFixture card(path(S("card")));
        CardFixture dest(path(S("dest")));
        for (int i = 0; i < count; ++i) {
            m_new.append(Pattern(20000 + (i % 7) * 150000, i));
            ASSERT_TRUE(card.writeFile(relativeFile(i), m_new.last()));
            m_old.append(i % 2 == 0 ? Pattern(5000 + i, 1000 + i) : QByteArray());
            if (i % 2 == 0) {
                ASSERT_TRUE(dest.writeFile(relativeFile(i), m_old.last()));
            }
        }
    }
    // Each file is absent, or whole in its old or its new version.
    void expectEveryFileWhole(const QString& root) const {
        for (int i = 0; i < m_new.size(); ++i) {
            QFile file(path(root) + u'/' + relativeFile(i));
            if (!file.exists())
                continue;
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            EXPECT_TRUE(bytes == m_new[i] || (!m_old[i].isEmpty() && bytes == m_old[i]))
                << relativeFile(i).toStdString() << " holds " << bytes.size() << " bytes";
        }
    }
    int tempsLeft(const QString& root) const {
        int temps = 0;
        QDirIterator it(path(root), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            temps += IsCopyTempName(QFileInfo(it.next()).fileName()) ? 1 : 0;
        return temps;
    }
    RunResult cli(const QStringList& args) const { return RunProgram(SORVANE_CLI_PATH, args); }

    QTemporaryDir m_dir;
    QList<QByteArray> m_new;
    QList<QByteArray> m_old;
};

// A backup skips files already there; a restore replaces them without asking and keeps
// other files of the card. Backups with --replace are checked by the kill test below.
TEST_F(CliBackupTest, BackupSkipsExistingFilesAndRestoreReplacesThem) {
    writeTree(6);
    RunResult r = cli({S("backup"), path(S("card")), path(S("dest"))});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.text.endsWith(
        S("3 copied, 0 replaced, 3 skipped, 0 failed, ") +
        QString::number(m_new[1].size() + m_new[3].size() + m_new[5].size()) + S(" bytes, 0:00\n")))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains(S("skipped: ") + path(S("card/")) + relativeFile(0)));
    EXPECT_TRUE(QFileInfo(path(S("dest/WAV"))).isDir());
    EXPECT_TRUE(QFileInfo(path(S("dest/MP3"))).isDir());
    EXPECT_EQ(CardFixture(path(S("dest"))).readFile(relativeFile(0)), m_old[0]);
    ASSERT_TRUE(CardFixture(path(S("dest"))).writeFile(S("Roland/extra.bin"), "keep"));
    r = cli({S("restore"), path(S("card")), path(S("dest"))});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.text.contains(S("0 copied, 6 replaced, 0 skipped, 0 failed")));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(CardFixture(path(S("dest"))).readFile(relativeFile(i)), m_new[i]);
    EXPECT_EQ(CardFixture(path(S("dest"))).readFile(S("Roland/extra.bin")), "keep");
}

TEST_F(CliBackupTest, ExitCodesForBadArgumentsRefusalsAndFailures) {
    writeTree(2);
    const QString card = path(S("card"));
    struct Case {
        QStringList args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{S("backup"), card}, 2, "Usage"},
        {{S("backup"), card, path(S("x")), S("--force")}, 2, "Usage"},
        {{S("restore"), card, path(S("x")), S("--replace")}, 2, "Usage"},
        {{S("backup"), card, card + S("/Roland/BR0")}, 1, "lies inside the source folder"},
        {{S("restore"), path(S("nothing")), path(S("x"))}, 1, "does not exist"},
    };
    for (const Case& c : cases) {
        const RunResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.code) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(card + S("/Roland/BR0/Roland")));
}

// Killed at any moment, a backup leaves every file absent, old or new, and whole; the next
// run clears what the killed ones left and finishes.
TEST_F(CliBackupTest, KilledBackupsNeverLeaveAHalfWrittenFile) {
    writeTree(40);
    QRandomGenerator random(20261207);
    for (int round = 0; round < 25; ++round) {
        QProcess process;
        process.start(S(SORVANE_CLI_PATH),
                      {S("backup"), path(S("card")), path(S("dest")), S("--replace")});
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(random.bounded(5, 120));
        process.kill();
        process.waitForFinished();
        expectEveryFileWhole(S("dest"));
    }
    const RunResult r = cli({S("backup"), path(S("card")), path(S("dest")), S("--replace")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(tempsLeft(S("dest")), 0);
    for (int i = 0; i < m_new.size(); ++i)
        EXPECT_EQ(CardFixture(path(S("dest"))).readFile(relativeFile(i)), m_new[i]);
}

TEST_F(CliBackupTest, InterruptedBackupExits130AndCleansUp) {
    writeTree(4);
    ASSERT_TRUE(CardFixture(path(S("card"))).writeSizedFile(S("Roland/big.bin"), 400'000'000));
    QProcess process;
    process.start(S(SORVANE_CLI_PATH), {S("backup"), path(S("card")), path(S("dest"))});
    ASSERT_TRUE(process.waitForStarted());
    QThread::msleep(150);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_TRUE(process.readAllStandardOutput().contains("Interrupted: "));
    EXPECT_EQ(tempsLeft(S("dest")), 0);
    EXPECT_FALSE(QFileInfo::exists(path(S("dest/Roland/big.bin"))));
    expectEveryFileWhole(S("dest"));
}

} // namespace
