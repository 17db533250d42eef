// The card listing commands (songs, media): arguments, refusals, output layout, and damaged
// input.

#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

RunResult Cli(const QStringList& args, const char* lang = "C.UTF-8") {
    return RunProgram(SORVANE_CLI_PATH, args, lang);
}

// The text of one media tab with no entries.
QString EmptyTab(const char* caption, const char* status) {
    return u'[' + QString::fromUtf8(caption) + u"]\nFilename\tSize\r\n\r\n"_s +
           QString::fromUtf8(status) + u'\n';
}

const QByteArray HeadingLine = "Song\tName\tSize\tData Type\tProtected\tCreated with\r\n";

using CliCardTest = CardRootTest;

} // namespace

// Without songs the blank list; songs print as the clipboard text in the user's locale, as
// UTF-8.
TEST_F(CliCardTest, SongsPrintsTheClipboardTextInTheUsersLocale) {
    EXPECT_EQ(Cli({u"songs"_s, m_temp.path()}).out, HeadingLine + "\r\n\r\n\r\n");
    SongInfoRecord first = SongInfoRecord::ForModel(RecorderModel::BR864, "Caf\xE9", 2, "1.03");
    first.protect = 1;
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG010.BR0"_s, first));
    ASSERT_TRUE(m_card.writeSongSizedFile(u"SONG010.BR0"_s, u"TRACK.BR0"_s, 1'234'567'532));
    ASSERT_TRUE(m_card.writeSongInfo(
        u"song002.BR0"_s, SongInfoRecord::ForModel(RecorderModel::BR532, "OLD", 4, "1.00"),
        u"SONGINFO.BR0"_s));
    for (const char* lang : {"de_DE.UTF-8", "C"}) {
        const RunResult r = Cli({u"songs"_s, m_temp.path()}, lang);
        EXPECT_EQ(r.exitCode, 0) << lang;
        const QLocale german(QLocale::German, QLocale::Germany);
        const ScopedDefaultLocale scoped(*lang == 'C' ? QLocale::system() : german);
        SOV_Info card;
        card.LoadFolder(m_temp.path());
        ASSERT_EQ(card.songs().size(), 2u);
        EXPECT_EQ(r.text, SongListClipboardText(card.songs(), 3)) << lang;
        EXPECT_TRUE(r.text.contains(u"\tCaf\u00e9    \t"_s)) << lang;
    }
    EXPECT_TRUE(Cli({u"songs"_s, m_temp.path()}, "de_DE.UTF-8").out.contains("Size: 1.235 MB"));
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

// Each song stays one row of six cells, and the details keep one line per field.
TEST_F(CliCardTest, ControlCharactersDoNotSplitRows) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "A\rB\nC\tD", 2);
    record.version = QByteArray("1\r\n\t");
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG001.BR0"_s, record));
    ASSERT_TRUE(m_card.writeSongFile(u"SONG001.BR0"_s, u"SongInfo.dat"_s, "SOV 1.05T\r\nX"));
    const RunResult songs = Cli({u"songs"_s, m_temp.path()});
    const QString row = songs.text.section(u"\r\n"_s, 1, 1);
    EXPECT_EQ(row.count(u'\t'), 5) << row.toStdString();
    EXPECT_TRUE(row.startsWith(u"SONG001\tA B C D \t"_s)) << row.toStdString();
    EXPECT_TRUE(row.endsWith(u"\tBR-864 v.1   "_s)) << row.toStdString();
    const RunResult song = Cli({u"song"_s, m_temp.path(), u"SONG001"_s});
    EXPECT_TRUE(song.text.contains(u"\nName: A B C D\n"_s)) << song.text.toStdString();
    EXPECT_TRUE(song.text.contains(u"\nTitle: T  X\n"_s)) << song.text.toStdString();
}

// A folder name that is not UTF-8 cannot be passed as text: a shell makes the folder, runs
// the companion on it and removes it (the temporary folder could not name it).
TEST_F(CliCardTest, FolderNameThatIsNotUtf8IsSaidSo) {
    const QString script = u"d=\"$(printf '%s/Sicherung f\\374r Jan' \"$1\")\"\n"
                           u"mkdir \"$d\" || exit 9\n"
                           u"\"$0\" \"$2\" \"$d\" $3\n"
                           u"status=$?\n"
                           u"rmdir \"$d\"\n"
                           u"exit $status\n"_s;
    for (const QStringList& args : {QStringList{u"songs"_s}, {u"song"_s, u"SONG001"_s}}) {
        const RunResult run =
            RunProgram("/bin/sh", QStringList{u"-c"_s, script, QString::fromUtf8(SORVANE_CLI_PATH),
                                              m_temp.path()} +
                                      args);
        EXPECT_EQ(run.exitCode, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains("cannot be read as UTF-8")) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("does not exist")) << run.err.toStdString();
    }
}
