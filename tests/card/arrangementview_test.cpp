#include "card/arrangementview.h"
#include "card/sovinfo.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ArrangementView View(const ArrangeFileBuilder& arrange, int a = 0,
                     const PatternFileBuilder& patterns = PatternFileBuilder()) {
    return ShowArrangement(ImageOf<ArrangeImage>(arrange.bytes()),
                           ImageOf<PatternImage>(patterns.bytes()), a, false);
}

const QString Dots = QString(3, QChar(0xB7));

bool RowBlank(const QStringList& row) {
    return std::all_of(row.begin(), row.end(), [](const QString& c) { return c.isEmpty(); });
}

FixtureStep Break(std::uint16_t start) {
    return FixtureStep::Preset(start, 326);
}

} // namespace

TEST(ArrangementViewTest, ThreeStepsEndingInBreakAreTimed) {
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0), FixtureStep::Preset(4, 6), Break(8)});
    const ArrangementView view = View(arrange);
    ASSERT_TRUE(view.shown);
    ASSERT_EQ(view.rows.size(), 50);
    EXPECT_EQ(view.rows[0], QStringList({u"1"_s, u"1"_s, u"4"_s, u"P001: ROCK1-IN"_s, u"4"_s,
                                         u"120.0"_s, u"4/4"_s}));
    EXPECT_EQ(view.rows[1][1], u"5"_s);
    EXPECT_EQ(view.rows[1][2], u"4"_s);
    EXPECT_EQ(view.rows[1][3], u"P007: ROCK2-IN"_s);
    EXPECT_EQ(view.rows[2][0], u"3"_s);
    EXPECT_EQ(view.rows[2][2], Dots);
    EXPECT_EQ(view.rows[2][3], u"P327: BREAK"_s);
    EXPECT_TRUE(RowBlank(view.rows[3]));
    EXPECT_EQ(view.timeText, u"  0:16"_s);
}

TEST(ArrangementViewTest, FirstStepUnusedLeavesEveryRowBlank) {
    ArrangeFileBuilder arrange;
    arrange.step(0, 1, FixtureStep::Preset(4, 0)); // after the end: ignored
    const ArrangementView view = View(arrange);
    EXPECT_TRUE(std::all_of(view.rows.begin(), view.rows.end(), RowBlank));
    EXPECT_EQ(view.timeText, u"  n/a"_s);
}

TEST(ArrangementViewTest, AnUnusedStepEndsTheListWhateverFollows) {
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0), FixtureStep(), Break(8)});
    const ArrangementView view = View(arrange);
    EXPECT_EQ(view.rows[0][2], Dots);
    EXPECT_TRUE(RowBlank(view.rows[1]));
    EXPECT_TRUE(RowBlank(view.rows[2]));
    EXPECT_EQ(view.timeText, u"  n/a"_s);
}

TEST(ArrangementViewTest, StepFortyNineHasNoLength) {
    ArrangeFileBuilder arrange;
    for (int s = 0; s < 50; ++s)
        arrange.step(0, s, FixtureStep::Preset(static_cast<std::uint16_t>(s * 2), 1));
    arrange.step(0, 49, Break(98));
    const ArrangementView view = View(arrange);
    EXPECT_EQ(view.rows[48][2], u"2"_s);
    EXPECT_EQ(view.rows[49][0], u"50"_s);
    EXPECT_EQ(view.rows[49][1], u"99"_s);
    EXPECT_EQ(view.rows[49][2], Dots);
    // 49 steps of 2 measures of 4 beats at 120 bpm: 98 * 2 s.
    EXPECT_EQ(view.timeText, u"  3:16"_s);
}

TEST(ArrangementViewTest, DescendingStartsGiveNegativeLengths) {
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(8, 0), FixtureStep::Preset(4, 0), Break(12)});
    const ArrangementView view = View(arrange);
    EXPECT_EQ(view.rows[0][2], u"-4"_s);
    EXPECT_EQ(view.rows[1][2], u"8"_s);
    // -4 then 8 measures of 2 s each.
    EXPECT_EQ(view.timeText, u"  0:08"_s);
}

TEST(ArrangementViewTest, BreakWithALengthIsTimedLikeAnyStep) {
    ArrangeFileBuilder arrange;
    arrange.steps(0, {Break(0), FixtureStep::Preset(4, 0)});
    const ArrangementView view = View(arrange);
    EXPECT_EQ(view.rows[0][2], u"4"_s);
    EXPECT_EQ(view.timeText, u"  n/a"_s); // the last step is not a BREAK
}

TEST(ArrangementViewTest, SongPatternBreakNumberDoesNotEndTheTime) {
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0), FixtureStep::Song(4, 326)});
    const ArrangementView view = View(arrange);
    EXPECT_EQ(view.rows[1][3], u"S327: "_s);
    EXPECT_EQ(view.timeText, u"  n/a"_s);
}

TEST(ArrangementViewTest, TimeRoundsToTheNearestSecond) {
    EXPECT_EQ(ArrangementTimeText(16499), u"  0:16"_s);
    EXPECT_EQ(ArrangementTimeText(16500), u"  0:17"_s);
    EXPECT_EQ(ArrangementTimeText(3909000), u"  1:05:09"_s);
    EXPECT_EQ(ArrangementTimeText(3599499), u"  59:59"_s);
    EXPECT_EQ(ArrangementTimeText(3599500), u"  1:00:00"_s);
    EXPECT_EQ(ArrangementTimeText(0), u"  0:00"_s);
}

TEST(ArrangementViewTest, EachStepTruncatesItsMilliseconds) {
    // One measure of one beat (1/1) at 0.7 bpm: 600000 / 7 = 85714.28 ms, kept as 85714.
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0, 1, 7, 0), Break(1)});
    EXPECT_EQ(StepMilliseconds(1, 1, 7), 85714);
    EXPECT_EQ(View(arrange).timeText, u"  1:26"_s);
}

TEST(ArrangementViewTest, HugeStepIsSummedWithoutOverflow) {
    // 65000 measures of 8 beats (8/1) at 0.1 bpm: 312 000 000 000 ms, far beyond 32 bits.
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0, 1, 1, 7), Break(65000)});
    EXPECT_EQ(StepMilliseconds(65000, 8, 1), std::int64_t{312000000000});
    EXPECT_EQ(View(arrange).timeText, u"  86666:40:00"_s);
}

TEST(ArrangementViewTest, TempoZeroAddsNothing) {
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0, 4, 0), FixtureStep::Preset(4, 0), Break(8)});
    const ArrangementView view = View(arrange);
    EXPECT_EQ(StepMilliseconds(4, 4, 0), 0);
    EXPECT_EQ(view.rows[0][5], u".0"_s);
    EXPECT_EQ(view.timeText, u"  0:08"_s);
}

TEST(ArrangementViewTest, TempoTextInsertsThePointBeforeTheLastDigit) {
    EXPECT_EQ(TempoText(1200), u"120.0"_s);
    EXPECT_EQ(TempoText(955), u"95.5"_s);
    EXPECT_EQ(TempoText(5), u".5"_s);
    EXPECT_EQ(TempoText(-100), u"-10.0"_s);
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0, 4, 955), FixtureStep::Preset(4, 0, 4, 0xFF9C)});
    const ArrangementView view = View(arrange);
    EXPECT_EQ(view.rows[0][5], u"95.5"_s);
    EXPECT_EQ(view.rows[1][5], u"-10.0"_s); // stored as a signed 16-bit number
}

TEST(ArrangementViewTest, PatternTexts) {
    PatternFileBuilder patterns;
    patterns.record(11, "GROOVE", 19, 2);
    patterns.record(99, "LASTONE!", 19, 2);
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Song(0, 11), FixtureStep::Preset(1, 0), FixtureStep::Song(2, 99),
                      FixtureStep::Preset(3, 96), FixtureStep::Song(4, 100),
                      FixtureStep::Preset(5, 327), FixtureStep::Preset(6, 65535)});
    const ArrangementView view = View(arrange, 0, patterns);
    EXPECT_EQ(view.rows[0][3], u"S012: GROOVE"_s);
    EXPECT_EQ(view.rows[1][3], u"P001: ROCK1-IN"_s);
    EXPECT_EQ(view.rows[2][3], u"S100: LASTONE!"_s);
    EXPECT_EQ(view.rows[3][3], u"P097: POP1 -IN"_s);
    // Numbers beyond the tables show their number with no name; only three digits are kept.
    EXPECT_EQ(view.rows[4][3], u"S101: "_s);
    EXPECT_EQ(view.rows[5][3], u"P328: "_s);
    EXPECT_EQ(view.rows[6][3], u"P536: "_s);
}

TEST(ArrangementViewTest, TimeSignatureAndLengthCells) {
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0, 255, 1200, 24),
                      FixtureStep::Preset(4, 0, 0, 1200, 200), Break(8)});
    const ArrangementView view = View(arrange);
    EXPECT_EQ(view.rows[0][4], u"255"_s);
    EXPECT_EQ(view.rows[0][6], u"1/8"_s);
    EXPECT_EQ(view.rows[1][6], QString()); // beyond the table: empty, and 1 beat (200 mod 8)
    // 4 measures of 1 beat at 120 bpm = 2 s, plus 4 measures of 1 beat (index 200) = 2 s.
    EXPECT_EQ(view.timeText, u"  0:04"_s);
}

TEST(ArrangementViewTest, CaptionsAndTheSelectedArrangement) {
    ArrangeFileBuilder arrange;
    arrange.name(0, "INTRO").name(1, "  VERSE \t").name(2, "CHORUS").name(3, "");
    arrange.name(4, "ABCDEFGHIJKL").drumKit(4, 1, 4); // no zero byte before the kit bytes
    arrange.drumKit(2, 1, 2).steps(2, {FixtureStep::Preset(0, 5), Break(2)});
    const ArrangementView view = View(arrange, 2);
    EXPECT_EQ(view.captions, QStringList({u"S01 - INTRO"_s, u"S02 - VERSE"_s, u"S03 - CHORUS"_s,
                                          u"S04 - "_s, u"S05 - ABCDEFGHIJKL"_s}));
    EXPECT_EQ(view.drumKitItem, 11);
    EXPECT_EQ(view.rows[0][3], u"P006: ROCK1-E"_s);
    EXPECT_EQ(view.timeText, u"  0:04"_s);
    EXPECT_EQ(View(arrange, 0).timeText, u"  n/a"_s);
    EXPECT_EQ(View(arrange, 4).drumKitItem, 13);
}

TEST(ArrangementViewTest, DrumKitItemsBeyondTheListShowTheBlankItem) {
    ArrangeFileBuilder arrange;
    arrange.drumKit(0, 0, 8).drumKit(1, 1, 5).drumKit(2, 255, 255).drumKit(3, 0, 14);
    EXPECT_EQ(View(arrange, 0).drumKitItem, 8);
    EXPECT_EQ(View(arrange, 1).drumKitItem, 14);
    EXPECT_EQ(View(arrange, 2).drumKitItem, 14);
    EXPECT_EQ(View(arrange, 3).drumKitItem, 14);
    EXPECT_EQ(View(arrange, 9).drumKitItem, 0); // outside the five arrangements: empty entry
    EXPECT_TRUE(RowBlank(View(arrange, -1).rows[0]));
}

TEST(ArrangementViewTest, BlankViewKeepsCaptionsAndKit) {
    ArrangeFileBuilder arrange;
    arrange.name(0, "INTRO").steps(0, {FixtureStep::Preset(0, 0), Break(4)});
    const ArrangementView view =
        ShowArrangement(ImageOf<ArrangeImage>(arrange.bytes()), PatternImage(), 0, true);
    EXPECT_FALSE(view.shown);
    EXPECT_TRUE(view.captions.isEmpty());
    EXPECT_EQ(view.drumKitItem, -1);
    EXPECT_TRUE(view.timeText.isEmpty());
    ASSERT_EQ(view.rows.size(), 50);
    EXPECT_TRUE(std::all_of(view.rows.begin(), view.rows.end(), RowBlank));
    EXPECT_EQ(DefaultArrangementCaption(0), u"S01"_s);
    EXPECT_EQ(DefaultArrangementCaption(4), u"S05"_s);
}

TEST(ArrangementViewTest, ClipboardTextHoldsHeadingsAndUsedRows) {
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0), Break(4)});
    const QString text = ArrangementClipboardText(View(arrange));
    const QString expected = u"\tStarting\tStep\t\tPattern\t\tTime\r\n"
                             u"Step\tMeasure\tLength\tPattern\tLength\tTempo\tSignature\r\n"
                             u"1\t1\t4\tP001: ROCK1-IN\t4\t120.0\t4/4\r\n"
                             u"2\t5\t"_s +
                             Dots + u"\tP327: BREAK\t4\t120.0\t4/4\r\n\r\n"_s;
    EXPECT_EQ(text, expected);
    const QList<QStringList> grid = ArrangementGrid(View(arrange));
    ASSERT_EQ(grid.size(), 52);
    EXPECT_EQ(grid[0][1], u"Starting"_s);
    EXPECT_EQ(grid[1][0], u"Step"_s);
    // A blank arrangement copies only the headings.
    EXPECT_EQ(ArrangementClipboardText(View(ArrangeFileBuilder())),
              u"\tStarting\tStep\t\tPattern\t\tTime\r\n"
              u"Step\tMeasure\tLength\tPattern\tLength\tTempo\tSignature\r\n\r\n"_s);
}

// Through the card content object and the files in a song folder.
class ArrangementSongTest : public CardRootTest {
protected:
    SOV_Info m_info;
};

TEST_F(ArrangementSongTest, ReadsTheSongFiles) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    PatternFileBuilder patterns;
    patterns.record(0, "MYBEAT", 19, 1);
    ASSERT_TRUE(patterns.write(m_card, u"SONG001.BR0"_s));
    ArrangeFileBuilder arrange;
    arrange.name(1, "SECOND").drumKit(1, 0, 3);
    arrange.steps(1, {FixtureStep::Song(0, 0, 1), Break(1)});
    ASSERT_TRUE(arrange.write(m_card, u"SONG001.BR0"_s, u"ARRANGE2.BR0"_s));
    m_info.LoadFolder(m_temp.path());
    const ArrangementView view = ShowArrangement(m_info, 1);
    ASSERT_TRUE(view.shown);
    EXPECT_EQ(view.captions[1], u"S02 - SECOND"_s);
    EXPECT_EQ(view.drumKitItem, 3);
    EXPECT_EQ(view.rows[0][3], u"S001: MYBEAT"_s);
    EXPECT_EQ(view.timeText, u"  0:02"_s);
}

TEST_F(ArrangementSongTest, MissingFilesShowEmptyArrangements) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    m_info.LoadFolder(m_temp.path());
    const ArrangementView view = ShowArrangement(m_info, 0);
    ASSERT_TRUE(view.shown);
    EXPECT_EQ(view.captions[0], u"S01 - "_s);
    EXPECT_EQ(view.drumKitItem, 0);
    EXPECT_EQ(view.timeText, u"  n/a"_s);
    EXPECT_TRUE(std::all_of(view.rows.begin(), view.rows.end(), RowBlank));
}

TEST_F(ArrangementSongTest, ShortFileLeavesTheRestUnused) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    ArrangeFileBuilder arrange;
    arrange.steps(0, {FixtureStep::Preset(0, 0), FixtureStep::Preset(4, 0), Break(8)});
    arrange.length = 144 + 2 * 12; // steps 0 and 1 only
    ASSERT_TRUE(arrange.write(m_card, u"SONG001.BR0"_s));
    m_info.LoadFolder(m_temp.path());
    const ArrangementView view = ShowArrangement(m_info, 0);
    EXPECT_EQ(view.rows[0][2], u"4"_s);
    EXPECT_EQ(view.rows[1][2], Dots);
    EXPECT_TRUE(RowBlank(view.rows[2]));
    EXPECT_EQ(view.timeText, u"  n/a"_s);
}

TEST_F(ArrangementSongTest, MicroBrSongIsBlankAndBr532IsShown) {
    addSong(u"SONG001.BR0"_s, RecorderModel::MicroBR);
    addSong(u"SONG002.BR0"_s, RecorderModel::BR532);
    ArrangeFileBuilder arrange;
    arrange.name(0, "ONE").steps(0, {FixtureStep::Preset(0, 0), Break(4)});
    ASSERT_TRUE(arrange.write(m_card, u"SONG001.BR0"_s));
    ASSERT_TRUE(arrange.write(m_card, u"SONG002.BR0"_s));
    m_info.LoadFolder(m_temp.path());
    EXPECT_TRUE(ArrangementViewBlank(m_info));
    const ArrangementView micro = ShowArrangement(m_info, 0);
    EXPECT_FALSE(micro.shown);
    EXPECT_TRUE(micro.timeText.isEmpty());
    EXPECT_TRUE(RowBlank(micro.rows[0]));
    ASSERT_TRUE(m_info.SelectSong(u"SONG002"_s));
    const ArrangementView br532 = ShowArrangement(m_info, 0);
    EXPECT_TRUE(br532.shown);
    EXPECT_EQ(br532.timeText, u"  0:08"_s);
}
