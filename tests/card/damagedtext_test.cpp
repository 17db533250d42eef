// Damaged or outsized texts: control characters in cells, folder names that are not UTF-8,
// titles and notes far larger than the boxes show, and song folders nested very deep.

#include "card/cardpath.h"
#include "card/songlisttext.h"
#include "card/songtitle.h"
#include "card/sovinfo.h"
#include "support/cardtest.h"
#include "transfer/sizetext.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using DamagedTextTest = CardRootTest;

// A CR, LF or tab byte in a song's name or version would split the row of the clipboard
// text; every control character is written as a space, other bytes as they are.
TEST_F(DamagedTextTest, ControlCharactersInCellsBecomeSpaces) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "A\rB\nC\tD", 2);
    record.version = QByteArray("1\t\r\n");
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG001.BR0"_s, record));
    SOV_Info info;
    info.LoadFolder(m_temp.path());
    const QStringList rows = SongListClipboardText(info.songs(), 3).split(u"\r\n"_s);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[1], u"SONG001\tA B C D \t0.00 MB\tHiFi (MT2)\tNo\tBR-864 v.1   "_s);
    const QList<QStringList> grid{{u"a\tb"_s, u"c\r\nd"_s}, {u"\n"_s, QString()}};
    EXPECT_EQ(GridToText(grid, 0), u"a b\tc  d\r\n\r\n"_s);
    EXPECT_EQ(CellText(u"x\u0000y\u001Fz\u007F\u00E9\u00A0"_s), u"x y z\u007F\u00E9\u00A0"_s);
}

// A folder named with bytes that are not UTF-8 is shown with replacement characters; such a
// path is told apart from one that does not exist.
TEST_F(DamagedTextTest, FolderNamesThatAreNotUtf8AreToldApart) {
    const QByteArray raw = QFile::encodeName(m_temp.path()) + "/Sicherung f\xFCr Jan";
    ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
    const QString shown = QFile::decodeName(raw);
    EXPECT_TRUE(NameUnreadableAsUtf8(shown + u"/Roland"_s));
    EXPECT_FALSE(NameUnreadableAsUtf8(m_temp.path(u"missing"_s)));
    // A folder whose name really holds the replacement character exists and is readable.
    ASSERT_TRUE(QDir(m_temp.path()).mkdir(u"odd \uFFFD"_s));
    EXPECT_FALSE(NameUnreadableAsUtf8(m_temp.path(u"odd \uFFFD"_s)));
    EXPECT_EQ(UnreadableNameText(u"/b/x\uFFFDy"_s),
              u"The name of the folder \"/b/x\uFFFDy\" cannot be read as UTF-8."_s);
    // The temporary folder cannot name it either: it goes by its bytes.
    EXPECT_EQ(::rmdir(raw.constData()), 0);
}

// Only what the title box holds is read from SongInfo.dat, however large the file; notes over
// 16 MB are not loaded (and the file is left as it is), those within are.
TEST_F(DamagedTextTest, TitleAndNotesReadOnlyWhatTheBoxesHold) {
    ASSERT_TRUE(m_card.addSongFolder(u"SONG001.BR0"_s));
    const QString song = m_card.songFolder(u"SONG001.BR0"_s);
    const QString songPath = m_card.path(song) + u'/';
    const QByteArray title(SongTitleMaxLength, 't');
    ASSERT_TRUE(m_card.writeFile(song + u"/SongInfo.dat"_s, "SOV 1.05" + title + "overflow"));
    EXPECT_EQ(ReadSongTitle(songPath), QString::fromLatin1(title));
    // 200 MB, sparse: the title is its first 128 bytes after the header, read at once.
    ASSERT_TRUE(m_card.writeSongSizedFile(u"SONG001.BR0"_s, u"SongInfo.dat"_s, 200'000'000));
    EXPECT_EQ(ReadSongTitle(songPath), QString(SongTitleMaxLength, QChar(0)));

    bool tooLarge = true;
    // Exactly 16 MB of line ends is loaded; one byte more is not.
    QByteArray ends(SongNotesMaxBytes, '\n');
    ASSERT_TRUE(m_card.writeFile(song + u"/Notes.txt"_s, ends));
    EXPECT_EQ(LoadSongNotesText(songPath, &tooLarge).size(), SongNotesMaxBytes - 1);
    EXPECT_FALSE(tooLarge);
    ASSERT_TRUE(m_card.writeFile(song + u"/Notes.txt"_s, ends.append('\r')));
    EXPECT_TRUE(LoadSongNotesText(songPath, &tooLarge).isEmpty());
    EXPECT_TRUE(tooLarge);
    EXPECT_TRUE(LoadSongNotes(songPath).isEmpty());
}

// A song folder nested thousands deep (deeper than a path may be long) is totalled in full,
// with one folder open at a time; links are counted, never followed.
TEST_F(DamagedTextTest, FolderWalkCountsEveryDepth) {
    const QString song = m_card.path(m_card.songFolder(u"SONG001.BR0"_s));
    ASSERT_TRUE(QDir().mkpath(song));
    const int depth = 1000; // far beyond the longest path (4096 bytes)
    int fd = ::open(QFile::encodeName(song).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int level = 0; level < depth; ++level) {
        ASSERT_EQ(::mkdirat(fd, "nested", 0700), 0);
        const int file = ::openat(fd, "data", O_WRONLY | O_CREAT, 0600);
        ASSERT_EQ(::write(file, "xyz", 3), 3);
        ::close(file);
        const int next = ::openat(fd, "nested", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ASSERT_EQ(::symlinkat("..", fd, "loop"), 0);
    ::close(fd);
    std::uint64_t total = 0;
    EXPECT_EQ(FolderSize(song, total), depth + 1);
    EXPECT_EQ(total, 3u * depth + 2u);
    // rm walks by open folders, so it removes what no path can name whole.
    EXPECT_EQ(QProcess::execute(u"rm"_s, {u"-rf"_s, song}), 0);
}
