#include "fixture/songfilesfixture.h"

#include <gtest/gtest.h>

// The song-file builders are checked against offsets written out by hand.

namespace {

int U16At(const QByteArray& bytes, int offset) {
    return static_cast<std::uint8_t>(bytes.at(offset)) |
           (static_cast<std::uint8_t>(bytes.at(offset + 1)) << 8);
}

} // namespace

TEST(ArrangeFileBuilderTest, FieldsLandAtTheirOffsets) {
    ArrangeFileBuilder arrange;
    arrange.name(2, "CHORUS").drumKit(2, 1, 4);
    arrange.step(2, 3, FixtureStep::Song(0x1234, 0x0102, 9, 0xFF9C, 21));
    const QByteArray bytes = arrange.bytes();
    ASSERT_EQ(bytes.size(), 3144);
    EXPECT_EQ(bytes.mid(64 + 32, 7), QByteArray("CHORUS\0", 7));
    EXPECT_EQ(bytes.at(64 + 32 + 12), 1);
    EXPECT_EQ(bytes.at(64 + 32 + 13), 4);
    const int step = 144 + 2 * 600 + 3 * 12;
    EXPECT_EQ(U16At(bytes, step), 0x1234);
    EXPECT_EQ(U16At(bytes, step + 2), 0xFF9C);
    EXPECT_EQ(bytes.at(step + 4), 21);
    EXPECT_EQ(bytes.at(step + 5), 1);
    EXPECT_EQ(U16At(bytes, step + 6), 0x0102);
    EXPECT_EQ(bytes.at(step + 8), 9);
    // Every other step is unused.
    EXPECT_EQ(U16At(bytes, 144), 0xFFFF);
    EXPECT_EQ(U16At(bytes, 144 + 4 * 600 + 49 * 12), 0xFFFF);
    arrange.length = 100;
    EXPECT_EQ(arrange.bytes().size(), 100);
}

TEST(PatternFileBuilderTest, FieldsLandAtTheirOffsets) {
    PatternFileBuilder patterns;
    patterns.record(99, "LONGNAME9", 19, 0x0203);
    const QByteArray bytes = patterns.bytes();
    ASSERT_EQ(bytes.size(), 42864);
    const int at = 64 + 99 * 28;
    EXPECT_EQ(bytes.mid(at, 9), QByteArray("LONGNAME\0", 9));
    EXPECT_EQ(bytes.at(at + 12), 19);
    EXPECT_EQ(U16At(bytes, at + 14), 0x0203);
}

TEST(EffectsFileBuilderTest, BanksLandAtTheirOffsets) {
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "G", 1).patch(FixtureBank::MIC, 0, "M", 2);
    effects.patch(FixtureBank::LIN, 0, "L", 3).patch(FixtureBank::SML, 0, "S", 4);
    effects.patch(FixtureBank::MTK, 18, "T", 5);
    const QByteArray bytes = effects.bytes();
    ASSERT_EQ(bytes.size(), 24512);
    EXPECT_EQ(bytes.at(48), 'G');
    EXPECT_EQ(bytes.at(60), 1);
    EXPECT_EQ(bytes.at(9552), 'M');
    EXPECT_EQ(bytes.at(13392), 'L');
    EXPECT_EQ(bytes.at(18192), 'S');
    EXPECT_EQ(bytes.at(22992 + 18 * 80), 'T');
    EXPECT_EQ(bytes.at(22992 + 18 * 80 + 12), 5);
    EXPECT_EQ(EffectsFileBuilder::PatchCount(FixtureBank::MIC), 40);
}

TEST(TakeEvtBuilderTest, RecordsFollowTheHeader) {
    TakeEvtBuilder takes;
    takes.add(3, 5, 0x10, 0x02).emptied(3, 5);
    const QByteArray bytes = takes.bytes();
    ASSERT_EQ(bytes.size(), 608 + 64);
    EXPECT_EQ(bytes.left(608), QByteArray(608, '\0'));
    EXPECT_EQ(bytes.mid(608, 4), QByteArray("\x03\x05\x10\x02", 4));
    EXPECT_EQ(bytes.mid(640, 4), QByteArray("\x03\x05\xe0\x00", 4));
    takes.length = 700;
    EXPECT_EQ(takes.bytes().size(), 700);
}

TEST(SongOwnFilesTest, TitleAndNotesBytes) {
    EXPECT_EQ(SongInfoDatBytes("Title"), QByteArray("SOV 1.05Title"));
    EXPECT_EQ(NotesBytes({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
}
