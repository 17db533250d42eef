#include "card/effectsview.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Gtr = 0;
constexpr int Mic = 1;
constexpr int Mtk = 4;

} // namespace

TEST(EffectsViewTest, BanksRowsAndTexts) {
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "CLEAN", 0).patch(FixtureBank::SML, 49, "LASTSML", 20);
    effects.patch(FixtureBank::MIC, 0, "EMPTY", 14).patch(FixtureBank::MIC, 1, "ODD", 200);
    effects.patch(FixtureBank::MIC, 2, "NAME8CHR", 21);
    effects.patch(EffectsFileBuilder::PatchOffset(FixtureBank::MIC, 2) + 8, "MORE");
    // MTK records are 80 bytes apart: the second one starts at 23072, not at 23088.
    effects.patch(23072, "MTKTWO").patch(23072 + 12, QByteArray(1, char(6)));
    effects.patch(23088, "WRONG");
    const EffectsView view = ShowEffects(ImageOf<EffectsImage>(effects.bytes()), false);
    ASSERT_TRUE(view.shown);
    const QStringList captions{u"GTR"_s, u"MIC"_s, u"LIN"_s, u"SML"_s, u"MTK"_s};
    const QList<int> counts{99, 40, 50, 50, 19};
    for (int b = 0; b < 5; ++b) {
        EXPECT_EQ(view.banks[b].caption, captions[b]);
        ASSERT_EQ(view.banks[b].rows.size(), counts[b]);
        EXPECT_EQ(view.banks[b].rows.last()[0],
                  captions[b] + u" S0"_s + QString::number(counts[b]).rightJustified(2, u'0'));
    }
    EXPECT_EQ(view.banks[Gtr].rows[0], QStringList({u"GTR S001"_s, u"CLEAN"_s, u"COSM GTR AMP"_s}));
    EXPECT_EQ(view.banks[3].rows[49],
              QStringList({u"SML S050"_s, u"LASTSML"_s, u"MSTR TOOL KIT"_s}));
    EXPECT_EQ(view.banks[Mtk].rows[1], QStringList({u"MTK S002"_s, u"MTKTWO"_s, u"VOCAL MULTI"_s}));
    EXPECT_EQ(view.banks[Mic].rows[0][2], QString());
    EXPECT_EQ(view.banks[Mic].rows[1][2], u"?200"_s);
    EXPECT_EQ(view.banks[Mic].rows[2], QStringList({u"MIC S003"_s, u"NAME8CHR"_s, u"?21"_s}));
    // Indexes outside the banks read empty.
    const EffectsImage image = ImageOf<EffectsImage>(effects.bytes());
    EXPECT_EQ(image.patchName(Gtr, 99), QString());
    EXPECT_EQ(image.patchName(5, 0), QString());
    EXPECT_EQ(image.algorithm(-1, 0), 0);
    EXPECT_EQ(image.algorithm(Mtk, 19), 0);
}

TEST(EffectsViewTest, BlankViewAndGridHeading) {
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "CLEAN", 0);
    const EffectsView view = ShowEffects(ImageOf<EffectsImage>(effects.bytes()), true);
    EXPECT_FALSE(view.shown);
    EXPECT_EQ(view.banks[Gtr].rows.size(), 99);
    EXPECT_EQ(view.banks[Gtr].rows[0], QStringList({QString(), QString(), QString()}));
    EXPECT_EQ(view.banks[Gtr].caption, u"GTR"_s);
    const QList<QStringList> grid = EffectsGrid(view.banks[Mtk]);
    ASSERT_EQ(grid.size(), 20);
    EXPECT_EQ(grid[0], QStringList({u"Patch"_s, u"Name"_s, u"Algorithm"_s}));
    EXPECT_TRUE(EffectsCellSelectable(1));
    EXPECT_FALSE(EffectsCellSelectable(0));
    EXPECT_FALSE(EffectsCellSelectable(2));
}
