#include "card/effectsview.h"
#include "card/sovinfo.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Gtr = 0;
constexpr int Mic = 1;
constexpr int Mtk = 4;

} // namespace

TEST(EffectsViewTest, BanksRowsAndPrefixes) {
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "CLEAN", 0).patch(FixtureBank::SML, 49, "LASTSML", 20);
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
    EXPECT_EQ(view.banks[Mtk].rows[18][0], u"MTK S019"_s);
}

TEST(EffectsViewTest, MtkRecordsAreEightyBytesApart) {
    EffectsFileBuilder effects;
    EXPECT_EQ(EffectsFileBuilder::PatchOffset(FixtureBank::MTK, 1), 23072);
    effects.patch(23072, "MTKTWO");
    effects.patch(23072 + 12, QByteArray(1, char(6)));
    effects.patch(23088, "WRONG"); // where a 96-byte stride would look
    const EffectsView view = ShowEffects(ImageOf<EffectsImage>(effects.bytes()), false);
    EXPECT_EQ(view.banks[Mtk].rows[1], QStringList({u"MTK S002"_s, u"MTKTWO"_s, u"VOCAL MULTI"_s}));
}

TEST(EffectsViewTest, AlgorithmTexts) {
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::MIC, 0, "EMPTY", 14).patch(FixtureBank::MIC, 1, "ODD", 200);
    effects.patch(FixtureBank::MIC, 2, "NAME8CHR", 21);
    effects.patch(EffectsFileBuilder::PatchOffset(FixtureBank::MIC, 2) + 8, "MORE");
    const EffectsView view = ShowEffects(ImageOf<EffectsImage>(effects.bytes()), false);
    EXPECT_EQ(view.banks[Mic].rows[0][2], QString());
    EXPECT_EQ(view.banks[Mic].rows[1][2], u"?200"_s);
    EXPECT_EQ(view.banks[Mic].rows[2], QStringList({u"MIC S003"_s, u"NAME8CHR"_s, u"?21"_s}));
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

TEST(EffectsImageTest, IndexesOutsideTheBanksReadEmpty) {
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "CLEAN", 3);
    const EffectsImage image = ImageOf<EffectsImage>(effects.bytes());
    EXPECT_EQ(image.patchName(Gtr, 0), u"CLEAN"_s);
    EXPECT_EQ(image.patchName(Gtr, 99), QString());
    EXPECT_EQ(image.patchName(5, 0), QString());
    EXPECT_EQ(image.algorithm(-1, 0), 0);
    EXPECT_EQ(image.algorithm(Mtk, 19), 0);
}

class EffectsSongTest : public CardRootTest {
protected:
    SOV_Info m_info;
};

TEST_F(EffectsSongTest, ShortFileShowsPatchesAsFarAsItReaches) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::MIC, 0, "VOX", 6).patch(FixtureBank::MIC, 1, "GONE", 6);
    effects.length = EffectsFileBuilder::PatchOffset(FixtureBank::MIC, 1);
    ASSERT_TRUE(effects.write(m_card, u"SONG001.BR0"_s, u"EFFECTS2.BR0"_s));
    m_info.LoadFolder(m_temp.path());
    ASSERT_TRUE(m_info.effectsLoaded());
    const EffectsView view = ShowEffects(m_info);
    ASSERT_TRUE(view.shown);
    EXPECT_EQ(view.banks[Mic].rows[0][1], u"VOX"_s);
    EXPECT_EQ(view.banks[Mic].rows[1], QStringList({u"MIC S002"_s, QString(), u"COSM GTR AMP"_s}));
    EXPECT_EQ(view.banks[Mtk].rows[0][2], u"COSM GTR AMP"_s);
}

TEST_F(EffectsSongTest, BlankForMissingFileMicroBrAndBr532) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR80);
    addSong(u"SONG002.BR0"_s, RecorderModel::MicroBR);
    addSong(u"SONG003.BR0"_s, RecorderModel::BR532);
    addSong(u"SONG004.BR0"_s, RecorderModel::BR900);
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "CLEAN", 0);
    for (const QString& song : {u"SONG002.BR0"_s, u"SONG003.BR0"_s, u"SONG004.BR0"_s})
        ASSERT_TRUE(effects.write(m_card, song));
    m_info.LoadFolder(m_temp.path());
    EXPECT_FALSE(m_info.effectsLoaded());
    EXPECT_FALSE(ShowEffects(m_info).shown);
    for (const QString& id : {u"SONG002"_s, u"SONG003"_s}) {
        ASSERT_TRUE(m_info.SelectSong(id));
        const EffectsView view = ShowEffects(m_info);
        EXPECT_FALSE(view.shown) << id.toStdString();
        EXPECT_EQ(view.banks[Gtr].rows[0][1], QString());
    }
    ASSERT_TRUE(m_info.SelectSong(u"SONG004"_s));
    EXPECT_EQ(ShowEffects(m_info).banks[Gtr].rows[0][1], u"CLEAN"_s);
}
