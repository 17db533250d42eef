#include "card/trackusage.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TrackUsage UsageOf(const TakeEvtBuilder& takes, std::size_t length = 0) {
    const QByteArray bytes = takes.bytes();
    return TrackUsageFromImage(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size())),
                               length ? length : static_cast<std::size_t>(bytes.size()));
}

} // namespace

// Later records override earlier ones; only the pair (0xE0, 0x00) empties a place; places
// beyond the 8 x 8 table are skipped; only the first thousand records, and whole records
// within the length, count; a length beyond the image is bounded by it.
TEST(TrackUsageTest, RecordsMarkOrEmptyTheirPlacesInOrder) {
    TakeEvtBuilder takes;
    takes.add(1, 1, 0x10, 0x00).emptied(1, 1).emptied(2, 2).add(2, 2, 0x10, 0x00);
    takes.add(3, 4, 0xE0, 0x01).add(5, 6, 0xE1, 0x00).add(7, 7, 0x00, 0xE0);
    takes.add(8, 0).add(0, 8).add(255, 255);
    const TrackUsage usage = UsageOf(takes);
    EXPECT_FALSE(usage.isUsed(1, 1));
    for (const auto& [track, vtrack] : {std::pair(2, 2), {3, 4}, {5, 6}, {7, 7}})
        EXPECT_TRUE(usage.isUsed(track, vtrack)) << track << vtrack;
    EXPECT_EQ(usage.usedCount(), 4);
    EXPECT_FALSE(usage.isUsed(-1, 0));
    for (int i = 0; i < 989; ++i)
        takes.add(0, 0);
    takes.add(4, 4);               // record 1000
    takes.add(5, 5).emptied(4, 4); // records 1001 and 1002
    EXPECT_TRUE(UsageOf(takes).isUsed(4, 4));
    EXPECT_FALSE(UsageOf(takes).isUsed(5, 5));
    TakeEvtBuilder two;
    two.add(1, 2).add(3, 4);
    const TrackUsage cut = UsageOf(two, 608 + 32 + 31); // the second lacks its last byte
    EXPECT_TRUE(cut.isUsed(1, 2) && !cut.isUsed(3, 4));
    EXPECT_EQ(UsageOf(two, 607).usedCount(), 0);
    EXPECT_EQ(UsageOf(two, 1u << 30).usedCount(), 2);
}

using TrackUsageFileTest = CardRootTest;

TEST_F(TrackUsageFileTest, FileIsFoundIgnoringCaseOrGivesAnEmptyTable) {
    m_card.setBr0Folder(u"roland/br0"_s);
    TakeEvtBuilder takes;
    takes.add(2, 0).add(7, 3);
    ASSERT_TRUE(takes.write(m_card, u"song001.br0"_s, u"take_evt.br0"_s));
    const QString path = TakeEvtFile(m_temp.path(), u"SONG001"_s);
    EXPECT_EQ(path, m_temp.path(u"roland/br0/song001.br0/take_evt.br0"_s));
    EXPECT_EQ(LoadTrackUsage(path).usedCount(), 2);
    EXPECT_TRUE(TakeEvtFile(m_temp.path(), u"  "_s).isEmpty());
    EXPECT_EQ(LoadTrackUsage(QString()).usedCount(), 0);
    // A folder where the file should be.
    ASSERT_TRUE(m_card.makeFolder(u"roland/br0/SONG002.BR0/TAKE_EVT.BR0"_s));
    EXPECT_EQ(LoadTrackUsage(TakeEvtFile(m_temp.path(), u"SONG002"_s)).usedCount(), 0);
}
