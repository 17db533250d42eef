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

using DamagedTextTest = CardRootTest;

// A CR, LF or tab byte in a song's name or version would split the row of the clipboard
// text; every control character is written as a space, other bytes as they are.
TEST_F(DamagedTextTest, ControlCharactersInCellsBecomeSpaces) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "A\rB\nC\tD", 2);
    record.version = QByteArray("1\t\r\n");
    ASSERT_TRUE(m_card.writeSongInfo(QStringLiteral("SONG001.BR0"), record));
    SOV_Info info;
    info.LoadFolder(m_temp.path());
    ASSERT_EQ(info.songs().size(), 1u);
    const QStringList rows = SongListClipboardText(info.songs(), 3).split(QStringLiteral("\r\n"));
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[1], QStringLiteral("SONG001\tA B C D \t0.00 MB\t") +
                           rows[1].section(u'\t', 3, 4) + QStringLiteral("\tBR-864 v.1   "));
    const QList<QStringList> grid{{QStringLiteral("a\tb"), QStringLiteral("c\r\nd")},
                                  {QStringLiteral("\n"), QString()}};
    EXPECT_EQ(GridToText(grid, 0), QStringLiteral("a b\tc  d\r\n\r\n"));
    EXPECT_EQ(CellText(QStringLiteral("x\u0000y\u001Fz\u007F\u00E9\u00A0")),
              QStringLiteral("x y z\u007F\u00E9\u00A0"));
}

// A folder named with bytes that are not UTF-8 is shown with replacement characters; such a
// path is told apart from one that does not exist.
TEST_F(DamagedTextTest, FolderNamesThatAreNotUtf8AreToldApart) {
    const QByteArray raw = QFile::encodeName(m_temp.path()) + "/Sicherung f\xFCr Jan";
    ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
    const QString shown = QFile::decodeName(raw);
    EXPECT_TRUE(NameUnreadableAsUtf8(shown));
    EXPECT_TRUE(NameUnreadableAsUtf8(shown + QStringLiteral("/Roland")));
    EXPECT_FALSE(NameUnreadableAsUtf8(m_temp.path(QStringLiteral("missing"))));
    // A folder whose name really holds the replacement character exists and is readable.
    ASSERT_TRUE(QDir(m_temp.path()).mkdir(QStringLiteral("odd \uFFFD")));
    EXPECT_FALSE(NameUnreadableAsUtf8(m_temp.path(QStringLiteral("odd \uFFFD"))));
    EXPECT_EQ(UnreadableNameText(QStringLiteral("/b/x\uFFFDy")),
              QStringLiteral("The name of the folder \"/b/x\uFFFDy\" cannot be read as UTF-8."));
    // The temporary folder cannot name it either: it goes by its bytes.
    EXPECT_EQ(::rmdir(raw.constData()), 0);
}

// Only what the title box holds is read from SongInfo.dat, however large the file; notes over
// 16 MB are not loaded (and the file is left as it is), those within are.
TEST_F(DamagedTextTest, TitleAndNotesReadOnlyWhatTheBoxesHold) {
    ASSERT_TRUE(m_card.addSongFolder(QStringLiteral("SONG001.BR0")));
    const QString song = m_card.songFolder(QStringLiteral("SONG001.BR0"));
    const QString songPath = m_card.path(song) + u'/';
    const QByteArray title(SongTitleMaxLength, 't');
    ASSERT_TRUE(
        m_card.writeFile(song + QStringLiteral("/SongInfo.dat"), "SOV 1.05" + title + "overflow"));
    EXPECT_EQ(ReadSongTitle(songPath), QString::fromLatin1(title));
    // 200 MB, sparse: the title is its first 128 bytes after the header, read at once.
    ASSERT_TRUE(m_card.writeSongSizedFile(QStringLiteral("SONG001.BR0"),
                                          QStringLiteral("SongInfo.dat"), 200'000'000));
    EXPECT_EQ(ReadSongTitle(songPath), QString(SongTitleMaxLength, QChar(0)));

    bool tooLarge = true;
    ASSERT_TRUE(m_card.writeFile(song + QStringLiteral("/Notes.txt"), "a\r\nb\rc\n\rd\r\n"));
    EXPECT_EQ(LoadSongNotesText(songPath, &tooLarge), QStringLiteral("a\nb\nc\n\nd"));
    EXPECT_FALSE(tooLarge);
    // Exactly 16 MB of line ends is loaded; one byte more is not.
    QByteArray ends(SongNotesMaxBytes, '\n');
    ASSERT_TRUE(m_card.writeFile(song + QStringLiteral("/Notes.txt"), ends));
    EXPECT_EQ(LoadSongNotesText(songPath, &tooLarge).size(), SongNotesMaxBytes - 1);
    EXPECT_FALSE(tooLarge);
    ASSERT_TRUE(m_card.writeFile(song + QStringLiteral("/Notes.txt"), ends.append('\r')));
    EXPECT_TRUE(LoadSongNotesText(songPath, &tooLarge).isEmpty());
    EXPECT_TRUE(tooLarge);
    EXPECT_TRUE(LoadSongNotes(songPath).isEmpty());
}

// A song folder nested thousands deep (deeper than a path may be long) is totalled in full,
// with one folder open at a time; links are counted, never followed.
TEST_F(DamagedTextTest, FolderWalkCountsEveryDepth) {
    const QString song = m_card.path(m_card.songFolder(QStringLiteral("SONG001.BR0")));
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
    EXPECT_EQ(QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), song}), 0);
}
