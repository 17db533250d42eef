#include "card/trackusage.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TrackUsage UsageOf(const TakeEvtBuilder& takes) {
    const QByteArray bytes = takes.bytes();
    return TrackUsageFromImage(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size())),
                               static_cast<std::size_t>(bytes.size()));
}

} // namespace

TEST(TrackUsageTest, OneRecordMarksItsPlace) {
    TakeEvtBuilder takes;
    takes.add(2, 0, 0x10, 0x00);
    const TrackUsage usage = UsageOf(takes);
    EXPECT_TRUE(usage.isUsed(2, 0));
    EXPECT_EQ(usage.usedCount(), 1);
}

TEST(TrackUsageTest, LaterRecordsOverrideEarlierOnes) {
    TakeEvtBuilder emptiedLast;
    emptiedLast.add(1, 1, 0x10, 0x00).emptied(1, 1);
    EXPECT_FALSE(UsageOf(emptiedLast).isUsed(1, 1));
    TakeEvtBuilder takenLast;
    takenLast.emptied(1, 1).add(1, 1, 0x10, 0x00);
    EXPECT_TRUE(UsageOf(takenLast).isUsed(1, 1));
    // Only the pair (0xE0, 0x00) empties a place.
    TakeEvtBuilder nearMisses;
    nearMisses.add(3, 4, 0xE0, 0x01).add(5, 6, 0xE1, 0x00).add(7, 7, 0x00, 0xE0);
    const TrackUsage usage = UsageOf(nearMisses);
    EXPECT_TRUE(usage.isUsed(3, 4));
    EXPECT_TRUE(usage.isUsed(5, 6));
    EXPECT_TRUE(usage.isUsed(7, 7));
}

TEST(TrackUsageTest, PlacesBeyondTheTableAreSkipped) {
    TakeEvtBuilder takes;
    takes.add(8, 0).add(0, 8).add(255, 255).add(7, 7);
    const TrackUsage usage = UsageOf(takes);
    EXPECT_EQ(usage.usedCount(), 1);
    EXPECT_TRUE(usage.isUsed(7, 7));
    EXPECT_FALSE(usage.isUsed(8, 0));
    EXPECT_FALSE(usage.isUsed(-1, 0));
}

TEST(TrackUsageTest, OnlyTheFirstThousandRecordsCount) {
    TakeEvtBuilder takes;
    for (int i = 0; i < 999; ++i)
        takes.add(0, 0);
    takes.add(4, 4);               // record 1000
    takes.add(5, 5).emptied(4, 4); // records 1001 and 1002
    ASSERT_EQ(takes.records(), 1002);
    const TrackUsage usage = UsageOf(takes);
    EXPECT_TRUE(usage.isUsed(4, 4));
    EXPECT_FALSE(usage.isUsed(5, 5));
}

TEST(TrackUsageTest, PartialRecordsAndShortHeadersGiveNothing) {
    TakeEvtBuilder takes;
    takes.add(1, 2).add(3, 4);
    takes.length = 608 + 32 + 31; // the second record lacks its last byte
    TrackUsage usage = UsageOf(takes);
    EXPECT_TRUE(usage.isUsed(1, 2));
    EXPECT_FALSE(usage.isUsed(3, 4));
    takes.length = 607;
    usage = UsageOf(takes);
    EXPECT_EQ(usage.usedCount(), 0);
    // A length beyond the image is bounded by it.
    const QByteArray bytes = TakeEvtBuilder().add(6, 6).bytes();
    usage = TrackUsageFromImage(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())),
                                1u << 30);
    EXPECT_TRUE(usage.isUsed(6, 6));
}

class TrackUsageFileTest : public CardRootTest {};

TEST_F(TrackUsageFileTest, FileIsFoundIgnoringCase) {
    m_card.setBr0Folder(u"roland/br0"_s);
    TakeEvtBuilder takes;
    takes.add(2, 0).add(7, 3);
    ASSERT_TRUE(takes.write(m_card, u"song001.br0"_s, u"take_evt.br0"_s));
    const QString path = TakeEvtFile(m_temp.path(), u"SONG001"_s);
    EXPECT_EQ(path, m_temp.path(u"roland/br0/song001.br0/take_evt.br0"_s));
    const TrackUsage usage = LoadTrackUsage(path);
    EXPECT_TRUE(usage.isUsed(2, 0));
    EXPECT_TRUE(usage.isUsed(7, 3));
    EXPECT_EQ(usage.usedCount(), 2);
}

TEST_F(TrackUsageFileTest, ThousandRecordLimitInAFile) {
    TakeEvtBuilder takes;
    for (int i = 0; i < 1000; ++i)
        takes.add(0, static_cast<std::uint8_t>(i % 8));
    takes.add(6, 6);
    ASSERT_TRUE(takes.write(m_card, u"SONG001.BR0"_s));
    const TrackUsage usage = LoadTrackUsage(TakeEvtFile(m_temp.path(), u"SONG001"_s));
    EXPECT_EQ(usage.usedCount(), 8);
    EXPECT_FALSE(usage.isUsed(6, 6));
}

TEST_F(TrackUsageFileTest, MissingFileOrNoSongGivesAnEmptyTable) {
    ASSERT_TRUE(m_card.addSongFolder(u"SONG001.BR0"_s));
    EXPECT_EQ(LoadTrackUsage(TakeEvtFile(m_temp.path(), u"SONG001"_s)).usedCount(), 0);
    EXPECT_TRUE(TakeEvtFile(m_temp.path(), QString()).isEmpty());
    EXPECT_TRUE(TakeEvtFile(m_temp.path(), u"  "_s).isEmpty());
    EXPECT_EQ(LoadTrackUsage(QString()).usedCount(), 0);
    // A folder where the file should be.
    ASSERT_TRUE(m_card.makeFolder(u"Roland/BR0/SONG001.BR0/TAKE_EVT.BR0"_s));
    EXPECT_EQ(LoadTrackUsage(TakeEvtFile(m_temp.path(), u"SONG001"_s)).usedCount(), 0);
}
