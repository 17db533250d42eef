// The companion against damaged input: control characters in records and folder names that
// are not UTF-8.

#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Runs the companion with arguments given as raw bytes (a folder name that is not UTF-8
// cannot be passed as text); exit code -1 when it did not finish normally.
RunResult RunCliRaw(const QList<QByteArray>& args) {
    int pipes[2];
    RunResult result;
    if (::pipe(pipes) != 0)
        return result;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipes[1], STDERR_FILENO);
        ::close(pipes[0]);
        std::vector<char*> argv{const_cast<char*>(SORVANE_CLI_PATH)};
        for (const QByteArray& arg : args)
            argv.push_back(const_cast<char*>(arg.constData()));
        argv.push_back(nullptr);
        ::setenv("LANG", "C.UTF-8", 1);
        ::execv(SORVANE_CLI_PATH, argv.data());
        _exit(127);
    }
    ::close(pipes[1]);
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipes[0], buffer, sizeof buffer)) > 0;)
        result.err.append(buffer, got);
    ::close(pipes[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

} // namespace

using CliHardeningTest = CardRootTest;

TEST_F(CliHardeningTest, FolderNameThatIsNotUtf8IsSaidSo) {
    const QByteArray raw = QFile::encodeName(m_temp.path()) + "/Sicherung f\xFCr Jan";
    ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
    for (const QList<QByteArray>& args :
         {QList<QByteArray>{"songs", raw}, QList<QByteArray>{"song", raw, "SONG001"}}) {
        const RunResult run = RunCliRaw(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("cannot be read as UTF-8")) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("does not exist")) << run.err.toStdString();
    }
    // The temporary folder cannot name it: it goes by its bytes.
    EXPECT_EQ(::rmdir(raw.constData()), 0);
}

// Each song stays one row of six cells, and the details keep one line per field.
TEST_F(CliHardeningTest, ControlCharactersDoNotSplitRows) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "A\rB\nC\tD", 2);
    record.version = QByteArray("1\r\n\t");
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG001.BR0"_s, record));
    ASSERT_TRUE(m_card.writeSongFile(u"SONG001.BR0"_s, u"SongInfo.dat"_s, "SOV 1.05T\r\nX"));
    const RunResult songs = RunProgram(SORVANE_CLI_PATH, {u"songs"_s, m_temp.path()});
    ASSERT_EQ(songs.exitCode, 0);
    const QStringList rows = songs.text.split(u"\r\n"_s);
    ASSERT_GE(rows.size(), 2);
    EXPECT_EQ(rows[1].count(u'\t'), 5) << rows[1].toStdString();
    EXPECT_TRUE(rows[1].startsWith(u"SONG001\tA B C D \t"_s)) << rows[1].toStdString();
    EXPECT_TRUE(rows[1].endsWith(u"\tBR-864 v.1   "_s)) << rows[1].toStdString();

    const RunResult song = RunProgram(SORVANE_CLI_PATH, {u"song"_s, m_temp.path(), u"SONG001"_s});
    ASSERT_EQ(song.exitCode, 0);
    EXPECT_TRUE(song.text.contains(u"\nName: A B C D\n"_s)) << song.text.toStdString();
    EXPECT_TRUE(song.text.contains(u"\nTitle: T  X\n"_s)) << song.text.toStdString();
}
