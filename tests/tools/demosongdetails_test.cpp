#include "card/arrangementview.h"
#include "card/effectsview.h"
#include "card/patternsview.h"
#include "card/songtitle.h"
#include "card/sovinfo.h"
#include "card/trackusage.h"
#include "fixture/demosongdetails.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The demo card's songs show every part of the song-details pages.
class DemoSongDetailsTest : public CardRootTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_card.writeSongInfo(
            u"SONG001.BR0"_s, SongInfoRecord::ForModel(RecorderModel::BR864, "DEMO", 2)));
        ASSERT_TRUE(WriteDemoSongDetails(m_card, u"SONG001.BR0"_s, 2));
        m_info.LoadFolder(m_temp.path());
        ASSERT_NE(m_info.currentSong(), nullptr);
    }
    SOV_Info m_info;
};

TEST_F(DemoSongDetailsTest, ArrangementsCoverBreakLongAndUnfinished) {
    const ArrangementView intro = ShowArrangement(m_info, 0);
    EXPECT_EQ(intro.captions, QStringList({u"S01 - INTRO"_s, u"S02 - BALLAD"_s, u"S03 - LONG JAM"_s,
                                           u"S04 - NO END"_s, u"S05 - "_s}));
    EXPECT_EQ(intro.rows[5][3], u"P327: BREAK"_s);
    EXPECT_EQ(intro.drumKitItem, 2);
    // 19 measures of 4/4 at 120 bpm.
    EXPECT_EQ(intro.timeText, u"  0:38"_s);
    const ArrangementView ballad = ShowArrangement(m_info, 1);
    EXPECT_EQ(ballad.rows[0][3], u"S001: WALTZ A"_s);
    EXPECT_EQ(ballad.rows[0][5], u"95.5"_s);
    EXPECT_EQ(ShowArrangement(m_info, 2).timeText, u"  1:06:40"_s);
    EXPECT_EQ(ShowArrangement(m_info, 3).timeText, u"  n/a"_s);
}

TEST_F(DemoSongDetailsTest, PatternsEffectsTakesTitleAndNotes) {
    EXPECT_EQ(ShowPatterns(m_info).rows[99][1], u"LAST"_s);
    const EffectsView effects = ShowEffects(m_info);
    ASSERT_TRUE(effects.shown);
    EXPECT_EQ(effects.banks[4].rows[1][1], u"LOUD"_s);
    const TrackUsage usage = LoadTrackUsage(TakeEvtFile(m_temp.path(), u"SONG001"_s));
    EXPECT_TRUE(usage.isUsed(1, 1));
    EXPECT_FALSE(usage.isUsed(1, 2));
    EXPECT_TRUE(usage.isUsed(6, 2));
    EXPECT_TRUE(ReadSongTitle(m_info.songPath()).startsWith(u"Demo song 3"_s));
    EXPECT_EQ(LoadSongNotes(m_info.songPath()).size(), 4);
}
