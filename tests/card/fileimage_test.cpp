#include "card/bytecursor.h"
#include "card/fileimage.h"
#include "support/cardtest.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>

using FileImageTest = CardRootTest;

TEST_F(FileImageTest, ShortFilesReadAsZerosBeyondTheirEnd) {
    ASSERT_TRUE(m_card.writeFile(QStringLiteral("f.bin"), "abc"));
    std::array<std::uint8_t, 8> image;
    image.fill(0xEE);
    EXPECT_EQ(ReadFileImage(m_card.path(QStringLiteral("f.bin")), image), 3);
    EXPECT_EQ(image, (std::array<std::uint8_t, 8>{'a', 'b', 'c', 0, 0, 0, 0, 0}));
}

TEST_F(FileImageTest, LongFilesFillTheImageOnly) {
    ASSERT_TRUE(m_card.writeFile(QStringLiteral("f.bin"), "0123456789"));
    std::array<std::uint8_t, 4> image{};
    EXPECT_EQ(ReadFileImage(m_card.path(QStringLiteral("f.bin")), image), 4);
    EXPECT_EQ(image, (std::array<std::uint8_t, 4>{'0', '1', '2', '3'}));
    EXPECT_EQ(ReadFileImage(m_card.path(QStringLiteral("f.bin")), image, 8), 2);
    EXPECT_EQ(image, (std::array<std::uint8_t, 4>{'8', '9', 0, 0}));
}

TEST_F(FileImageTest, MissingFileOrFolderGivesZeros) {
    std::array<std::uint8_t, 4> image;
    image.fill(0xEE);
    EXPECT_EQ(ReadFileImage(m_card.path(QStringLiteral("missing")), image), -1);
    EXPECT_EQ(image, (std::array<std::uint8_t, 4>{}));
    ASSERT_TRUE(m_card.makeFolder(QStringLiteral("dir")));
    image.fill(0xEE);
    EXPECT_LE(ReadFileImage(m_card.path(QStringLiteral("dir")), image), 0);
    EXPECT_EQ(image, (std::array<std::uint8_t, 4>{}));
}

TEST(ByteCursorTest, LittleEndianReads) {
    const std::array<std::uint8_t, 5> bytes = {0x34, 0x12, 0xFF, 0x01, 0x80};
    ByteCursor cursor(bytes);
    EXPECT_EQ(cursor.u16le(), 0x1234);
    EXPECT_EQ(cursor.u8(), 0xFF);
    EXPECT_EQ(cursor.u16le(), 0x8001);
    EXPECT_EQ(cursor.pos(), 5u);
}

TEST(ByteCursorTest, ReadsBeyondTheImageAreZero) {
    const std::array<std::uint8_t, 3> bytes = {'A', 'B', 0x7F};
    ByteCursor cursor(bytes, 2);
    EXPECT_EQ(cursor.u16le(), 0x007F);
    EXPECT_EQ(cursor.u8(), 0);
    cursor.seek(SIZE_MAX - 1);
    EXPECT_EQ(cursor.u16le(), 0);
    EXPECT_EQ(cursor.pos(), SIZE_MAX);
    cursor.skip(10);
    EXPECT_EQ(cursor.pos(), SIZE_MAX);
    EXPECT_EQ(cursor.u8(), 0);
}

// A position at the very end of the address range must not wrap round to the image's start.
TEST(ByteCursorTest, PositionsNearTheTopNeverWrapToTheStart) {
    const std::array<std::uint8_t, 4> bytes = {0xAA, 0xBB, 'X', 'Y'};
    ByteCursor cursor(bytes);
    cursor.seek(SIZE_MAX);
    EXPECT_EQ(cursor.u16le(), 0);
    cursor.seek(SIZE_MAX - 1);
    EXPECT_TRUE(cursor.text(8).isEmpty());
    cursor.skip(SIZE_MAX);
    EXPECT_EQ(cursor.u16le(), 0);
    EXPECT_EQ(cursor.u8(), 0);
}

TEST(ByteCursorTest, TextEndsAtZeroOrWidthOrImage) {
    const std::array<std::uint8_t, 6> bytes = {'A', 'B', 0, 'C', 0xE9, 'D'};
    ByteCursor cursor(bytes);
    EXPECT_EQ(cursor.text(4), QStringLiteral("AB"));
    EXPECT_EQ(cursor.pos(), 4u);
    EXPECT_EQ(cursor.text(10), QString::fromUtf8("\xC3\xA9"
                                                 "D"));
    EXPECT_EQ(ByteCursor(bytes, 3).text(1), QStringLiteral("C"));
    EXPECT_TRUE(ByteCursor(bytes, 100).text(8).isEmpty());
}
