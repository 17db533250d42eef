#include "card/effectsview.h"
#include "card/patternsview.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(EffectsViewTest, BanksRowsAndTexts) {
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "CLEAN", 0).patch(FixtureBank::SML, 49, "LASTSML", 20);
    effects.patch(FixtureBank::MIC, 0, "EMPTY", 14).patch(FixtureBank::MIC, 1, "ODD", 200);
    effects.patch(FixtureBank::MIC, 2, "NAME8CHR", 21);
    effects.patch(EffectsFileBuilder::PatchOffset(FixtureBank::MIC, 2) + 8, "MORE");
    // MTK records are 80 bytes apart: the second one starts at 23072, not at 23088.
    effects.patch(23072, "MTKTWO").patch(23072 + 12, QByteArray(1, char(6)));
    effects.patch(23088, "WRONG");
    const EffectsImage image = ImageOf<EffectsImage>(effects.bytes());
    const EffectsView view = ShowEffects(image, false);
    ASSERT_TRUE(view.shown);
    const QStringList captions{u"GTR"_s, u"MIC"_s, u"LIN"_s, u"SML"_s, u"MTK"_s};
    const QList<int> counts{99, 40, 50, 50, 19};
    for (int b = 0; b < 5; ++b) {
        EXPECT_EQ(view.banks[b].caption, captions[b]);
        ASSERT_EQ(view.banks[b].rows.size(), counts[b]);
        EXPECT_EQ(view.banks[b].rows.last()[0],
                  captions[b] + u" S0"_s + QString::number(counts[b]).rightJustified(2, u'0'));
    }
    EXPECT_EQ(view.banks[0].rows[0], QStringList({u"GTR S001"_s, u"CLEAN"_s, u"COSM GTR AMP"_s}));
    EXPECT_EQ(view.banks[3].rows[49][2], u"MSTR TOOL KIT"_s);
    EXPECT_EQ(view.banks[4].rows[1], QStringList({u"MTK S002"_s, u"MTKTWO"_s, u"VOCAL MULTI"_s}));
    EXPECT_EQ(view.banks[1].rows[0][2] + view.banks[1].rows[1][2], u"?200"_s); // 14: none
    EXPECT_EQ(view.banks[1].rows[2], QStringList({u"MIC S003"_s, u"NAME8CHR"_s, u"?21"_s}));
    EXPECT_EQ(image.patchName(0, 99), QString()); // outside the bank
    EXPECT_EQ(image.algorithm(4, 19), 0);
}

TEST(EffectsViewTest, BlankViewAndGridHeading) {
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "CLEAN", 0);
    const EffectsView view = ShowEffects(ImageOf<EffectsImage>(effects.bytes()), true);
    EXPECT_FALSE(view.shown);
    EXPECT_EQ(view.banks[0].rows[0], QStringList({QString(), QString(), QString()}));
    const QList<QStringList> grid = EffectsGrid(view.banks[4]);
    ASSERT_EQ(grid.size(), 20);
    EXPECT_EQ(grid[0], QStringList({u"Patch"_s, u"Name"_s, u"Algorithm"_s}));
    EXPECT_TRUE(EffectsCellSelectable(1));
    EXPECT_FALSE(EffectsCellSelectable(0) || EffectsCellSelectable(2));
}

TEST(PatternsViewTest, RowsBlankViewAndGridHeadings) {
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
    EXPECT_EQ(image.name(-1), QString()); // outside the table
    EXPECT_EQ(image.length(100), 0);
    const PatternsView blank = ShowPatterns(image, true);
    EXPECT_FALSE(blank.shown);
    ASSERT_EQ(blank.rows.size(), 100);
    EXPECT_EQ(blank.rows[0], QStringList({QString(), QString(), QString(), QString()}));
    const QList<QStringList> grid = PatternsGrid(blank);
    ASSERT_EQ(grid.size(), 102);
    EXPECT_EQ(grid[0], QStringList({QString(), QString(), QString(), u"Time"_s}));
    EXPECT_EQ(grid[1], QStringList({u"Pattern"_s, u"Name"_s, u"Length"_s, u"Signature"_s}));
}
