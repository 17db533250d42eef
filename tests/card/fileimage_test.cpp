#include "card/bytecursor.h"
#include "card/cardpath.h"
#include "card/fileimage.h"
#include "support/cardtest.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using FileImageTest = CardRootTest;

// Short files read as zeros beyond their end, long ones fill the image only (from an
// offset when given), missing files read as zeros.
TEST_F(FileImageTest, ImagesAreFilledOrZeroed) {
    ASSERT_TRUE(m_card.writeFile(u"f.bin"_s, "0123456789"));
    std::array<std::uint8_t, 12> image;
    image.fill(0xEE);
    EXPECT_EQ(ReadFileImage(m_card.path(u"f.bin"_s), image), 10);
    EXPECT_EQ(image,
              (std::array<std::uint8_t, 12>{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
    std::array<std::uint8_t, 4> small{};
    EXPECT_EQ(ReadFileImage(m_card.path(u"f.bin"_s), small, 8), 2);
    EXPECT_EQ(small, (std::array<std::uint8_t, 4>{'8', '9', 0, 0}));
    small.fill(0xEE);
    EXPECT_EQ(ReadFileImage(m_card.path(u"missing"_s), small), -1);
    EXPECT_EQ(small, (std::array<std::uint8_t, 4>{}));
}

// Reads beyond the image are zero, and a position at the very end of the address range never
// wraps round to the image's start.
TEST(ByteCursorTest, ReadsBeyondTheImageAreZero) {
    const std::array<std::uint8_t, 5> bytes = {0x34, 0x12, 0xFF, 0x01, 0x80};
    ByteCursor cursor(bytes);
    ByteCursor tail(bytes, 4);
    EXPECT_EQ(tail.u16le(), 0x0080);
    EXPECT_EQ(tail.u8(), 0);
    for (const std::size_t at : {SIZE_MAX - 1, SIZE_MAX}) {
        cursor.seek(at);
        EXPECT_EQ(cursor.u16le(), 0) << at;
        EXPECT_EQ(cursor.pos(), SIZE_MAX) << at;
        cursor.seek(at);
        EXPECT_TRUE(cursor.text(8).isEmpty()) << at;
    }
    cursor.seek(3);
    cursor.skip(SIZE_MAX);
    EXPECT_EQ(cursor.pos(), SIZE_MAX);
}

using CardPathTest = CardRootTest;

// Exact names win; otherwise each component is matched ignoring (ASCII) case, hidden entries
// too; missing names are kept as given.
TEST_F(CardPathTest, ComponentsAreMatchedIgnoringCase) {
    ASSERT_TRUE(m_card.writeFile(u"Roland/BR0/x.bin"_s, "1"));
    ASSERT_TRUE(m_card.writeFile(u"ROLAND/BR0/x.bin"_s, "2"));
    ASSERT_TRUE(m_card.writeFile(u"lower/Br0/SONG001.br0/SongInf2.BR0"_s, "x"));
    ASSERT_TRUE(m_card.writeFile(u".Hidden"_s, "x"));
    const QString root = m_temp.path();
    const std::pair<QString, QString> cases[] = {
        {u"ROLAND/BR0/x.bin"_s, u"/ROLAND/BR0/x.bin"_s},
        {u"Roland/BR0/x.bin"_s, u"/Roland/BR0/x.bin"_s},
        {u"LOWER\\BR0\\SONG001.BR0\\songinf2.br0"_s, u"/lower/Br0/SONG001.br0/SongInf2.BR0"_s},
        {u"LOWER/BR9/x.bin"_s, u"/lower/BR9/x.bin"_s},
        {u".hidden"_s, u"/.Hidden"_s}};
    for (const auto& [relative, found] : cases)
        EXPECT_EQ(ResolveCardPath(root, relative), root + found) << relative.toStdString();
    EXPECT_EQ(ResolveCardPath(root + u'/', u"LOWER/br0"_s), root + u"/lower/Br0"_s);
    EXPECT_FALSE(EqualsIgnoringAsciiCase(u"\u00c9"_s, u"\u00e9"_s));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(u"SONG"_s, u"SONGS"_s));
    for (const char* name : {"Song.Br0", "SONGABCDEFG.BR0"})
        EXPECT_TRUE(MatchesSongPattern(QString::fromLatin1(name))) << name;
    for (const char* name : {"SONG001BR0", "SONG.BR", "SON.BR0", "SONG001.BR0 ", ""})
        EXPECT_FALSE(MatchesSongPattern(QString::fromLatin1(name))) << name;
}
