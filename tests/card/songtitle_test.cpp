#include "card/songtitle.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Song = u"SONG001.BR0"_s;

class SongTitleTest : public CardRootTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_card.addSongFolder(Song));
        m_songPath = m_card.path(m_card.songFolder(Song)) + u'/';
    }
    QByteArray fileBytes(const QString& name) const { return ReadWholeFile(m_songPath + name); }
    QStringList songFolderEntries() const {
        return QDir(m_songPath).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QString m_songPath;
};

} // namespace

// Latin-1 bytes after an 8-byte header, whatever header a file made elsewhere has.
TEST_F(SongTitleTest, TitleIsTheLatin1BytesAfterTheHeader) {
    ASSERT_TRUE(WriteSongTitle(m_songPath, u"My song: Caf\u00e9 \u20ac \U0001F3B8!"_s));
    EXPECT_EQ(fileBytes(u"SongInfo.dat"_s), QByteArray("SOV 1.05My song: Caf\xe9 ? ?!"));
    EXPECT_EQ(ReadSongTitle(m_songPath), u"My song: Caf\u00e9 ? ?!"_s);
    ASSERT_TRUE(WriteSongTitle(m_songPath, QString()));
    EXPECT_EQ(fileBytes(u"SongInfo.dat"_s), QByteArray("SOV 1.05"));
    const QByteArray oddHeader("\0\xff\x01zzzzz", 8);
    ASSERT_TRUE(
        m_card.writeSongFile(Song, u"SongInfo.dat"_s, SongInfoDatBytes("\x80\xb7\xff", oddHeader)));
    EXPECT_EQ(ReadSongTitle(m_songPath), QString(u"\u0080\u00b7\u00ff"_s));
    ASSERT_TRUE(m_card.writeSongFile(Song, u"SongInfo.dat"_s, "SOV 1.0"));
    EXPECT_EQ(ReadSongTitle(m_songPath), QString());
}

// Files of any case are read and rewritten in place; CR LF, CR and LF each end a line.
TEST_F(SongTitleTest, ExistingFilesOfAnyCaseAreReused) {
    ASSERT_TRUE(WriteSongInfoDat(m_card, Song, "old", u"songinfo.DAT"_s));
    ASSERT_TRUE(m_card.writeSongFile(Song, u"notes.TXT"_s, "a\r\nb\rc\nd\n\re"));
    EXPECT_EQ(ReadSongTitle(m_songPath), u"old"_s);
    EXPECT_EQ(LoadSongNotes(m_songPath),
              QStringList({u"a"_s, u"b"_s, u"c"_s, u"d"_s, QString(), u"e"_s}));
    ASSERT_TRUE(WriteSongTitle(m_songPath, u"new"_s));
    EXPECT_EQ(SaveSongNotes(m_songPath, u"one\ntwo"_s, true), NotesSaveResult::Written);
    EXPECT_EQ(songFolderEntries(), QStringList({u"notes.TXT"_s, u"songinfo.DAT"_s}));
    EXPECT_EQ(fileBytes(u"songinfo.DAT"_s), QByteArray("SOV 1.05new"));
    EXPECT_EQ(fileBytes(u"notes.TXT"_s), QByteArray("one\r\ntwo\r\n"));
}

// A folder in the file's place cannot be replaced, whoever runs the test: failure is
// reported, the folder is kept, and no temporary file is left. Without a current song
// nothing is touched.
TEST_F(SongTitleTest, FailedWritesAreReportedAndLeaveTheTargetAlone) {
    ASSERT_TRUE(m_card.writeSongFile(Song, u"SongInfo.dat/keep.txt"_s, "kept"));
    ASSERT_TRUE(m_card.writeSongFile(Song, u"Notes.txt/keep.txt"_s, "kept"));
    EXPECT_FALSE(WriteSongTitle(m_songPath, u"title"_s));
    EXPECT_EQ(SaveSongNotes(m_songPath, u"text"_s, true), NotesSaveResult::Failed);
    EXPECT_EQ(SaveSongNotes(m_songPath, u"  "_s, true), NotesSaveResult::Failed);
    EXPECT_EQ(fileBytes(u"SongInfo.dat/keep.txt"_s) + fileBytes(u"Notes.txt/keep.txt"_s),
              QByteArray("keptkept"));
    EXPECT_EQ(songFolderEntries(), QStringList({u"Notes.txt"_s, u"SongInfo.dat"_s}));
    EXPECT_FALSE(WriteSongTitle(m_temp.path(u"missing/"_s), u"title"_s));
    EXPECT_FALSE(QFileInfo::exists(m_temp.path(u"missing"_s)));
    EXPECT_TRUE(WriteSongTitle(QString(), u"title"_s));
    EXPECT_EQ(SaveSongNotes(QString(), u"notes"_s, true), NotesSaveResult::Nothing);
    EXPECT_EQ(QDir::current().entryList({u"SongInfo.dat"_s, u"Notes.txt"_s}), QStringList());
}

// Blank notes delete the file even when unchanged; typed spaces are written; other unchanged
// notes are not written; what is written reads back with its empty lines.
TEST_F(SongTitleTest, NotesAreSavedDeletedOrLeft) {
    EXPECT_EQ(SaveSongNotes(m_songPath, u"   "_s, true), NotesSaveResult::Written);
    EXPECT_EQ(fileBytes(u"Notes.txt"_s), QByteArray("   \r\n"));
    EXPECT_EQ(SaveSongNotes(m_songPath, u"other"_s, false), NotesSaveResult::Nothing);
    EXPECT_EQ(fileBytes(u"Notes.txt"_s), QByteArray("   \r\n"));
    EXPECT_EQ(SaveSongNotes(m_songPath, u" \t\n\r\n "_s, false), NotesSaveResult::Deleted);
    EXPECT_FALSE(QFileInfo::exists(m_songPath + u"Notes.txt"_s));
    EXPECT_EQ(SaveSongNotes(m_songPath, QString(), false), NotesSaveResult::Nothing);
    for (const QString& text : {u"\n\nb\n\n"_s, u"x\n\ny"_s}) {
        ASSERT_EQ(SaveSongNotes(m_songPath, text, true), NotesSaveResult::Written);
        EXPECT_EQ(LoadSongNotes(m_songPath).join(u'\n'), text) << text.toStdString();
    }
}
