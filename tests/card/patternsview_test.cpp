#include "card/patternsview.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PatternsViewTest, RowsShowNumberNameLengthAndTimeSignature) {
    PatternFileBuilder patterns;
    patterns.record(0, "FIRST", 19, 8).record(11, "ABCDEFGH", 26, 300).record(99, "LAST", 40, 1);
    patterns.patch(64 + 11 * 28 + 8, "XYZ"); // bytes after an 8-byte name are not part of it
    const PatternImage image = ImageOf<PatternImage>(patterns.bytes());
    const PatternsView view = ShowPatterns(image, false);
    ASSERT_TRUE(view.shown);
    ASSERT_EQ(view.rows.size(), 100);
    EXPECT_EQ(view.rows[0], QStringList({u"S001"_s, u"FIRST"_s, u"8"_s, u"4/4"_s}));
    EXPECT_EQ(view.rows[11], QStringList({u"S012"_s, u"ABCDEFGH"_s, u"300"_s, u"3/8"_s}));
    EXPECT_EQ(view.rows[1], QStringList({u"S002"_s, QString(), u"0"_s, u"1/1"_s}));
    EXPECT_EQ(view.rows[99], QStringList({u"S100"_s, u"LAST"_s, u"1"_s, QString()}));
    // Indexes outside the table read empty.
    EXPECT_EQ(image.name(-1), QString());
    EXPECT_EQ(image.name(100), QString());
    EXPECT_EQ(image.length(100), 0);
    EXPECT_EQ(image.timeSignature(-5), 0);
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
