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
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using DamagedTextTest = CardRootTest;

namespace {

// Removes a chain of "nested" folders below the folder open as `fd` from the bottom up, as a
// path that long cannot be named whole; closes `fd`.
void RemoveNestedChain(int fd) {
    int depth = 0;
    for (int next; (next = ::openat(fd, "nested", O_RDONLY | O_DIRECTORY)) >= 0; ++depth) {
        ::close(fd);
        fd = next;
    }
    ::unlinkat(fd, "loop", 0);
    ::unlinkat(fd, "data", 0);
    for (; depth > 0; --depth) {
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = parent;
        ::unlinkat(fd, "nested", AT_REMOVEDIR);
        ::unlinkat(fd, "data", 0);
    }
    ::close(fd);
}

} // namespace

// A CR, LF or tab byte in a song's name or version would split the row of the clipboard
// text; every control character is written as a space, other bytes as they are.
TEST_F(DamagedTextTest, ControlCharactersInCellsBecomeSpaces) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "A\rB\nC\tD", 2);
    record.version = QByteArray("1\t\r\n");
    ASSERT_TRUE(m_card.writeSongInfo(QStringLiteral("SONG001.BR0"), record));
    ASSERT_TRUE(m_card.writeSongInfo(
        QStringLiteral("SONG002.BR0"),
        SongInfoRecord::ForModel(RecorderModel::BR864, "\x01\x1F\x7F\xE9", 2)));
    SOV_Info info;
    info.LoadFolder(m_temp.path());
    ASSERT_EQ(info.songs().size(), 2u);
    const QString text = SongListClipboardText(info.songs(), 3);
    const QStringList rows = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(rows.size(), 7) << text.toStdString();
    EXPECT_EQ(rows[1], QStringLiteral("SONG001\tA B C D \t0.00 MB\t") +
                           rows[1].section(u'\t', 3, 4) + QStringLiteral("\tBR-864 v.1   "));
    EXPECT_EQ(rows[2].section(u'\t', 1, 1), QStringLiteral("  \u007F\u00E9    "));
    for (const QString& row : rows.mid(0, 3))
        EXPECT_EQ(row.count(u'\t'), 5) << row.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("\r\r")));

    const QList<QStringList> grid{{QStringLiteral("a\tb"), QStringLiteral("c\r\nd")},
                                  {QStringLiteral("\n"), QString()}};
    EXPECT_EQ(GridToText(grid, 0), QStringLiteral("a b\tc  d\r\n\r\n"));
    EXPECT_EQ(CellText(QStringLiteral("x\u0000y\u001Fz\u00A0")), QStringLiteral("x y z\u00A0"));
}

// A folder named with bytes that are not UTF-8 is shown with replacement characters; such a
// path is told apart from one that does not exist.
TEST_F(DamagedTextTest, FolderNamesThatAreNotUtf8AreToldApart) {
    const QByteArray raw = QFile::encodeName(m_temp.path()) + "/Sicherung f\xFCr Jan";
    ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
    const QString shown = QFile::decodeName(raw);
    ASSERT_TRUE(shown.contains(QChar::ReplacementCharacter));
    EXPECT_TRUE(NameUnreadableAsUtf8(shown));
    EXPECT_TRUE(NameUnreadableAsUtf8(shown + QStringLiteral("/Roland")));
    EXPECT_FALSE(NameUnreadableAsUtf8(m_temp.path(QStringLiteral("missing"))));
    EXPECT_FALSE(NameUnreadableAsUtf8(m_temp.path()));
    // A folder whose name really holds the replacement character exists and is readable.
    ASSERT_TRUE(QDir(m_temp.path()).mkdir(QStringLiteral("odd \uFFFD")));
    EXPECT_FALSE(NameUnreadableAsUtf8(m_temp.path(QStringLiteral("odd \uFFFD"))));
    EXPECT_EQ(UnreadableNameText(QStringLiteral("/b/x\uFFFDy")),
              QStringLiteral("The name of the folder \"/b/x\uFFFDy\" cannot be read as UTF-8."));
    // The temporary folder cannot name it either: it goes by its bytes.
    EXPECT_EQ(::rmdir(raw.constData()), 0);
}

// Only what the title box holds is read from SongInfo.dat, however large the file.
TEST_F(DamagedTextTest, TitleReaderReadsOnlyWhatTheTitleCanBe) {
    const QString song = m_card.songFolder(QStringLiteral("SONG001.BR0"));
    ASSERT_TRUE(m_card.addSongFolder(QStringLiteral("SONG001.BR0")));
    const QString songPath = m_card.path(song) + u'/';
    const QByteArray title(SongTitleMaxLength, 't');
    struct Case {
        QByteArray file;
        QString title;
    };
    const Case cases[] = {
        {"SOV 1.05" + title, QString::fromLatin1(title)},
        {"SOV 1.05" + title + "overflow", QString::fromLatin1(title)},
        {"SOV 1.05" + title.left(9), QString::fromLatin1(title.left(9))},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_card.writeFile(song + QStringLiteral("/SongInfo.dat"), c.file));
        EXPECT_EQ(ReadSongTitle(songPath), c.title);
    }
    // 200 MB, sparse: the title is its first 128 bytes after the header, read at once.
    ASSERT_TRUE(m_card.writeSongSizedFile(QStringLiteral("SONG001.BR0"),
                                          QStringLiteral("SongInfo.dat"), 200'000'000));
    EXPECT_EQ(ReadSongTitle(songPath), QString(SongTitleMaxLength, QChar(0)));
}

// Notes over 16 MB are not loaded; those within are, whatever their line ends.
TEST_F(DamagedTextTest, NotesBeyondSixteenMegabytesAreNotLoaded) {
    ASSERT_TRUE(m_card.addSongFolder(QStringLiteral("SONG001.BR0")));
    const QString song = m_card.songFolder(QStringLiteral("SONG001.BR0"));
    const QString songPath = m_card.path(song) + u'/';
    bool tooLarge = true;
    ASSERT_TRUE(m_card.writeFile(song + QStringLiteral("/Notes.txt"), "a\r\nb\rc\n\rd\r\n"));
    EXPECT_EQ(LoadSongNotesText(songPath, &tooLarge), QStringLiteral("a\nb\nc\n\nd"));
    EXPECT_FALSE(tooLarge);
    EXPECT_EQ(LoadSongNotes(songPath),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QString(),
                           QStringLiteral("d")}));
    // Exactly 16 MB of line ends is loaded; one byte more is not.
    QByteArray ends(SongNotesMaxBytes, '\n');
    ASSERT_TRUE(m_card.writeFile(song + QStringLiteral("/Notes.txt"), ends));
    EXPECT_EQ(LoadSongNotesText(songPath, &tooLarge).size(), SongNotesMaxBytes - 1);
    EXPECT_FALSE(tooLarge);
    ends.append('\r');
    ASSERT_TRUE(m_card.writeFile(song + QStringLiteral("/Notes.txt"), ends));
    EXPECT_TRUE(LoadSongNotesText(songPath, &tooLarge).isEmpty());
    EXPECT_TRUE(tooLarge);
    EXPECT_TRUE(LoadSongNotes(songPath).isEmpty());
    EXPECT_EQ(QFileInfo(m_card.path(song + QStringLiteral("/Notes.txt"))).size(),
              SongNotesMaxBytes + 1);
}

// A song folder nested thousands deep (deeper than a path may be long) is totalled in full,
// with one folder open at a time; links are counted, never followed.
TEST_F(DamagedTextTest, FolderWalkCountsEveryDepth) {
    const QString song = m_card.path(m_card.songFolder(QStringLiteral("SONG001.BR0")));
    ASSERT_TRUE(QDir().mkpath(song));
    const int depth = 1000; // far beyond the longest path (4096 bytes)
    const int top = ::open(QFile::encodeName(song).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(top, 0);
    int fd = ::dup(top);
    for (int level = 0; level < depth; ++level) {
        ASSERT_EQ(::mkdirat(fd, "nested", 0700), 0);
        const int file = ::openat(fd, "data", O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(file, 0);
        ASSERT_EQ(::write(file, "xyz", 3), 3);
        ::close(file);
        const int next = ::openat(fd, "nested", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    ASSERT_EQ(::symlinkat("..", fd, "loop"), 0);
    ::close(fd);
    std::uint64_t total = 0;
    EXPECT_EQ(FolderSize(song, total), depth + 1);
    EXPECT_EQ(total, 3u * depth + 2u);
    SOV_Info info;
    info.LoadFolder(m_temp.path());
    ASSERT_EQ(info.songs().size(), 1u);
    EXPECT_EQ(info.songs()[0].size, 3u * depth + 2u);
    RemoveNestedChain(top);
    EXPECT_FALSE(QFileInfo::exists(song + QStringLiteral("/nested")));
}
