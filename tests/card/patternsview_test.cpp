#include "card/patternsview.h"
#include "card/sovinfo.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PatternsViewTest, RowsShowNumberNameLengthAndTimeSignature) {
    PatternFileBuilder patterns;
    patterns.record(0, "FIRST", 19, 8).record(11, "ABCDEFGH", 26, 300).record(99, "LAST", 40, 1);
    patterns.patch(64 + 11 * 28 + 8, "XYZ"); // bytes after an 8-byte name are not part of it
    const PatternsView view = ShowPatterns(ImageOf<PatternImage>(patterns.bytes()), false);
    ASSERT_TRUE(view.shown);
    ASSERT_EQ(view.rows.size(), 100);
    EXPECT_EQ(view.rows[0], QStringList({u"S001"_s, u"FIRST"_s, u"8"_s, u"4/4"_s}));
    EXPECT_EQ(view.rows[11], QStringList({u"S012"_s, u"ABCDEFGH"_s, u"300"_s, u"3/8"_s}));
    EXPECT_EQ(view.rows[1], QStringList({u"S002"_s, QString(), u"0"_s, u"1/1"_s}));
    EXPECT_EQ(view.rows[99][0], u"S100"_s);
    EXPECT_EQ(view.rows[99][3], QString()); // index beyond the table
}

TEST(PatternsViewTest, BlankViewAndGridHeadings) {
    PatternFileBuilder patterns;
    patterns.record(0, "FIRST", 19, 8);
    const PatternsView view = ShowPatterns(ImageOf<PatternImage>(patterns.bytes()), true);
    EXPECT_FALSE(view.shown);
    ASSERT_EQ(view.rows.size(), 100);
    for (const QStringList& row : view.rows)
        EXPECT_EQ(row, QStringList({QString(), QString(), QString(), QString()}));
    const QList<QStringList> grid = PatternsGrid(view);
    ASSERT_EQ(grid.size(), 102);
    EXPECT_EQ(grid[0], QStringList({QString(), QString(), QString(), u"Time"_s}));
    EXPECT_EQ(grid[1], QStringList({u"Pattern"_s, u"Name"_s, u"Length"_s, u"Signature"_s}));
}

TEST(PatternImageTest, IndexesOutsideTheTableReadEmpty) {
    PatternFileBuilder patterns;
    patterns.record(0, "FIRST", 19, 8);
    const PatternImage image = ImageOf<PatternImage>(patterns.bytes());
    EXPECT_EQ(image.name(-1), QString());
    EXPECT_EQ(image.name(100), QString());
    EXPECT_EQ(image.length(100), 0);
    EXPECT_EQ(image.timeSignature(-5), 0);
}

class PatternsSongTest : public CardRootTest {
protected:
    SOV_Info m_info;
};

TEST_F(PatternsSongTest, MissingFileShowsEmptyPatterns) {
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG001.BR0"_s,
                                     SongInfoRecord::ForModel(RecorderModel::BR800, "A", 2)));
    m_info.LoadFolder(m_temp.path());
    const PatternsView view = ShowPatterns(m_info);
    ASSERT_TRUE(view.shown);
    EXPECT_EQ(view.rows[5], QStringList({u"S006"_s, QString(), u"0"_s, u"1/1"_s}));
}

TEST_F(PatternsSongTest, ShortFileAndMicroBrSong) {
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG001.BR0"_s,
                                     SongInfoRecord::ForModel(RecorderModel::BR600, "A", 2)));
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG002.BR0"_s,
                                     SongInfoRecord::ForModel(RecorderModel::MicroBR, "B", 2)));
    ASSERT_TRUE(m_card.writeSongParams(u"SONG002.BR0"_s));
    PatternFileBuilder patterns;
    patterns.record(0, "FIRST", 19, 8).record(1, "SECOND", 19, 8);
    patterns.length = 64 + 28 + 10; // record 1 cut inside its name
    ASSERT_TRUE(patterns.write(m_card, u"SONG001.BR0"_s));
    ASSERT_TRUE(patterns.write(m_card, u"SONG002.BR0"_s));
    m_info.LoadFolder(m_temp.path());
    PatternsView view = ShowPatterns(m_info);
    EXPECT_EQ(view.rows[0][1], u"FIRST"_s);
    EXPECT_EQ(view.rows[1][1], u"SECOND"_s);
    EXPECT_EQ(view.rows[1][2], u"0"_s);
    ASSERT_TRUE(m_info.SelectSong(u"SONG002"_s));
    view = ShowPatterns(m_info);
    EXPECT_FALSE(view.shown);
    EXPECT_EQ(view.rows[0][1], QString());
}
