// The companion's own wiring: help and manual, exit codes and refusals, and the listing
// commands printing what the core computes.

#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

RunResult Cli(const QStringList& args, const char* lang = "C.UTF-8") {
    return RunProgram(SORVANE_CLI_PATH, args, lang);
}

// The usage lines ("sorvane-cli songs FOLDER") of a usage or help text.
QStringList UsageLines(const QByteArray& text) {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(text).split(u'\n')) {
        if (line.startsWith(u"  sorvane-cli "_s))
            lines.append(line.trimmed());
    }
    return lines;
}

// A usage line or a manual request line without blanks, quotes, font escapes and request
// name, "\-" read as "-": the two then compare whatever the manual's quoting.
QString Squeezed(QString line) {
    static const QRegularExpression noise(uR"(^\.BI? |\s|"|\\f[BIRP])"_s);
    return line.remove(noise).replace(u"\\-"_s, u"-"_s);
}

// The text of one media tab with no entries.
QString EmptyTab(const char* caption, const char* status) {
    return u'[' + QString::fromUtf8(caption) + u"]\nFilename\tSize\r\n\r\n"_s +
           QString::fromUtf8(status) + u'\n';
}

using CliCardTest = CardRootTest;

} // namespace

// Every command the program has is in the manual's synopsis with the same usage line, and
// the help of one command repeats its line from the full help.
TEST(CliTest, HelpAndManualAgreeOnEveryCommand) {
    const RunResult all = Cli({u"--help"_s});
    EXPECT_EQ(all.exitCode, 0);
    const QStringList usage = UsageLines(all.out);
    ASSERT_GE(usage.size(), 5);
    EXPECT_TRUE(std::is_sorted(usage.begin(), usage.end()));
    EXPECT_EQ(UsageLines(Cli({u"help"_s}).out), usage);

    const QString manual =
        QString::fromUtf8(ReadWholeFile(QString::fromUtf8(SORVANE_MANPAGE_PATH)));
    QStringList synopsis;
    for (const QString& line :
         manual.section(u".SH SYNOPSIS\n"_s, 1).section(u"\n.SH"_s, 0, 0).split(u'\n'))
        synopsis.append(Squeezed(line));
    for (const QString& line : usage) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_TRUE(synopsis.contains(Squeezed(line)));
        const QString name = line.section(u' ', 1, 1);
        for (const QStringList& args :
             {QStringList{u"help"_s, name}, QStringList{name, u"--help"_s}}) {
            const RunResult one = Cli(args);
            EXPECT_EQ(one.exitCode, 0);
            EXPECT_EQ(UsageLines(one.out), QStringList{line});
        }
    }
}

// Bad arguments give the usage and exit 2; input that is missing or not a folder is named and
// exits 1; a copy into its own source is refused. Nothing goes to standard output.
TEST_F(CliCardTest, ExitCodesForBadArgumentsAndMissingInput) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    ASSERT_TRUE(m_card.writeFile(u"file.txt"_s, "x"));
    const QString card = m_card.root();
    const QString none = m_temp.path(u"no such folder"_s);
    const QString file = m_card.path(u"file.txt"_s);
    const QString bad = m_card.path(u"bad.mid"_s);
    const QString usage = u"  sorvane-cli songs FOLDER\n"_s;
    const std::tuple<QStringList, int, QString> cases[] = {
        {{}, 2, usage},
        {{u"nosuch"_s}, 2, usage},
        {{u"help"_s, u"nosuch"_s}, 2, usage},
        {{u"help"_s, u"songs"_s, u"song"_s}, 2, usage},
        {{u"songs"_s, u"/a"_s, u"/b"_s}, 2, usage},
        {{u"songs"_s, none}, 1, none},
        {{u"songs"_s, file}, 1, u"is not a folder"_s},
        {{u"media"_s, u"/a"_s, u"/b"_s}, 2, usage},
        {{u"media"_s, file}, 1, file},
        {{u"song"_s, u"/tmp"_s, u"A"_s, u"B"_s}, 2, usage},
        {{u"song"_s, card, u"SONG002"_s}, 1, u"SONG002"_s},
        {{u"backup"_s, card, none, u"--force"_s}, 2, usage},
        {{u"restore"_s, card, none, u"--replace"_s}, 2, usage},
        {{u"backup"_s, card, card + u"/Roland/BR0"_s}, 1, u"lies inside the source folder"_s},
        {{u"restore"_s, none, card}, 1, u"does not exist"_s},
        {{u"play"_s}, 2, usage},
        {{u"play"_s, bad, u"--render"_s}, 2, usage},
    };
    for (const auto& [args, code, named] : cases) {
        const RunResult r = Cli(args);
        EXPECT_EQ(r.exitCode, code) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(u' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(named)) << r.err.toStdString();
    }
}

// Without songs the blank list; songs print as the clipboard text in the user's locale,
// always as UTF-8. The details keep one line per field whatever control characters the
// name and title hold.
TEST_F(CliCardTest, SongsPrintsTheClipboardTextInTheUsersLocale) {
    EXPECT_EQ(Cli({u"songs"_s, m_temp.path()}).out,
              "Song\tName\tSize\tData Type\tProtected\tCreated with\r\n\r\n\r\n\r\n");
    ASSERT_TRUE(m_card.writeSongInfo(
        u"SONG010.BR0"_s,
        SongInfoRecord::ForModel(RecorderModel::BR864, "Caf\xE9\rB\tD", 2, "1.03")));
    ASSERT_TRUE(m_card.writeSongFile(u"SONG010.BR0"_s, u"SongInfo.dat"_s, "SOV 1.05T\r\nX"));
    const ScopedDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    SOV_Info card;
    card.LoadFolder(m_temp.path());
    const RunResult r = Cli({u"songs"_s, m_temp.path()}, "de_DE.UTF-8");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.text, SongListClipboardText(card.songs(), 2));
    EXPECT_TRUE(Cli({u"songs"_s, m_temp.path()}, "C").text.contains(u"\tCaf\u00e9 B D\t"_s));
    const RunResult song = Cli({u"song"_s, m_temp.path(), u"SONG010"_s});
    EXPECT_TRUE(song.text.contains(u"\nName: Caf\u00e9 B D\nTitle: T  X\n"_s))
        << song.text.toStdString();
}

// The six media lists in tab order: blank lists without songs, else each with its status.
TEST_F(CliCardTest, MediaPrintsTheSixListsInTabOrder) {
    ASSERT_TRUE(m_card.writeFile(u"Roland/SMF/b.MID"_s, QByteArray(1000, 'x')));
    ASSERT_TRUE(m_card.writeFile(u"Roland/SMF/a.mid"_s, QByteArray(2'600'000, 'x')));
    ASSERT_TRUE(m_card.makeFolder(u"wav/Old takes"_s));
    QString blank;
    for (const char* caption : {"SMF", "Tone Load", "USB", "MP3", "WAV", "Sketch"})
        blank += EmptyTab(caption, "");
    EXPECT_EQ(Cli({u"media"_s, m_card.root()}).text, blank);

    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    const char* const none = " 0 Files     Total Size: 0.00 KB";
    EXPECT_EQ(Cli({u"media"_s, m_card.root()}, "en_US.UTF-8").text,
              u"[SMF]\nFilename\tSize\r\na.mid\t3 MB\r\nb.MID\t1 KB\r\n\r\n"
              u" 2 Files     Total Size: 2,601 KB\n"_s +
                  EmptyTab("Tone Load", none) + EmptyTab("USB", none) + EmptyTab("MP3", none) +
                  u"[WAV]\nFilename\tSize\r\nOld takes\t0.00 KB\r\n\r\n"
                  u" 1 File     Total Size: 0.00 KB\n"_s +
                  EmptyTab("Sketch", none));
}

// A folder name that is not UTF-8 cannot be passed as text: a shell names it (the test
// cannot) and runs the companion on it.
TEST(CliTest, FolderNameThatIsNotUtf8IsSaidSo) {
    const QString script = u"exec \"$0\" $1 \"$(printf '/tmp/f\\374r')\" $2"_s;
    const QString cli = QString::fromUtf8(SORVANE_CLI_PATH);
    for (const QStringList& args : {QStringList{u"songs"_s}, {u"song"_s, u"SONG001"_s}}) {
        const RunResult run = RunProgram("/bin/sh", QStringList{u"-c"_s, script, cli} + args);
        EXPECT_EQ(run.exitCode, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains("cannot be read as UTF-8")) << run.err.toStdString();
    }
}
