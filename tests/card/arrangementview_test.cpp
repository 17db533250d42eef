#include "card/arrangementview.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ArrangementView View(const ArrangeFileBuilder& arrange, int a = 0,
                     const PatternFileBuilder& patterns = PatternFileBuilder()) {
    return ShowArrangement(ImageOf<ArrangeImage>(arrange.bytes()),
                           ImageOf<PatternImage>(patterns.bytes()), a, false);
}

const QString Dots = QString(3, QChar(0xB7));

FixtureStep Break(std::uint16_t start) {
    return FixtureStep::Preset(start, 326);
}

FixtureStep P(std::uint16_t start, std::uint8_t length = 4, std::uint16_t tempo = 1200,
              std::uint8_t timeSignature = 19) {
    return FixtureStep::Preset(start, 0, length, tempo, timeSignature);
}

} // namespace

// The length column (the next step's start less this one's; none for the last used step) and
// the time, which only an arrangement ending in the preset BREAK has; each step's time is
// truncated to the millisecond and the sum rounded to the second.
TEST(ArrangementViewTest, StepLengthsAndTime) {
    const struct {
        QList<FixtureStep> steps;
        QStringList lengths; // of the used rows; the row after them is blank
        QString time;
    } cases[] = {
        {{P(0), FixtureStep::Preset(4, 6), Break(8)}, {u"4"_s, u"4"_s, Dots}, u"  0:16"_s},
        {{P(0), FixtureStep(), Break(8)}, {Dots}, u"  n/a"_s}, // an unused step ends the list
        {{FixtureStep(), P(4)}, {}, u"  n/a"_s},
        {{P(8), P(4), Break(12)}, {u"-4"_s, u"8"_s, Dots}, u"  0:08"_s},
        {{Break(0), P(4)}, {u"4"_s, Dots}, u"  n/a"_s},
        {{P(0), FixtureStep::Song(4, 326)}, {u"4"_s, Dots}, u"  n/a"_s},
        {{P(0, 4, 0), P(4), Break(8)}, {u"4"_s, u"4"_s, Dots}, u"  0:08"_s},
        // One measure of 1/1 at 0.7 bpm: 85714.28 ms, kept as 85714 before the sum is rounded.
        {{P(0, 1, 7, 0), Break(1)}, {u"1"_s, Dots}, u"  1:26"_s},
        // 65000 measures of 8/1 at 0.1 bpm: 312 000 000 000 ms, far beyond 32 bits.
        {{P(0, 1, 1, 7), Break(65000)}, {u"65000"_s, Dots}, u"  86666:40:00"_s},
        // Beats of 1/8, then of an index beyond the table (200 mod 8 = 0: 1 beat).
        {{P(0, 4, 1200, 24), P(4, 4, 1200, 200), Break(8)}, {u"4"_s, u"4"_s, Dots}, u"  0:04"_s},
    };
    for (const auto& c : cases) {
        ArrangeFileBuilder arrange;
        arrange.steps(0, c.steps);
        const ArrangementView view = View(arrange);
        QStringList lengths;
        for (int r = 0; r < c.lengths.size(); ++r)
            lengths.append(view.rows[r][2]);
        EXPECT_EQ(lengths, c.lengths) << c.time.toStdString();
        EXPECT_TRUE(view.rows[c.lengths.size()].join(QString()).isEmpty());
        EXPECT_EQ(view.timeText, c.time) << c.lengths.join(u' ').toStdString();
    }
}

// Step 50 is the last one there is; times are rounded to the second.
TEST(ArrangementViewTest, LastStepAndTimeTexts) {
    ArrangeFileBuilder arrange;
    for (int s = 0; s < 50; ++s)
        arrange.step(0, s, FixtureStep::Preset(static_cast<std::uint16_t>(s * 2), 1));
    arrange.step(0, 49, Break(98));
    const ArrangementView view = View(arrange);
    EXPECT_EQ(view.rows[48][2], u"2"_s);
    EXPECT_EQ(view.rows[49].mid(0, 3), QStringList({u"50"_s, u"99"_s, Dots}));
    EXPECT_EQ(view.timeText, u"  3:16"_s); // 98 measures of 2 s
    const std::pair<std::int64_t, QString> times[] = {
        {16499, u"  0:16"_s},    {16500, u"  0:17"_s},      {3909000, u"  1:05:09"_s},
        {3599499, u"  59:59"_s}, {3599500, u"  1:00:00"_s}, {0, u"  0:00"_s}};
    for (const auto& [ms, text] : times)
        EXPECT_EQ(ArrangementTimeText(ms), text) << ms;
    EXPECT_EQ(TempoText(5), u".5"_s);
    EXPECT_EQ(DefaultArrangementCaption(4), u"S05"_s);
}

TEST(ArrangementViewTest, RowCells) {
    PatternFileBuilder patterns;
    patterns.record(11, "GROOVE", 19, 2).record(99, "LASTONE!", 19, 2);
    ArrangeFileBuilder arrange;
    arrange.steps(0, {P(0), FixtureStep::Song(1, 11, 255, 955, 24), FixtureStep::Song(2, 99),
                      FixtureStep::Preset(3, 96, 4, 0xFF9C, 200), FixtureStep::Song(4, 100),
                      FixtureStep::Preset(5, 327, 4, 0), FixtureStep::Preset(6, 65535), Break(7)});
    const ArrangementView view = View(arrange, 0, patterns);
    ASSERT_TRUE(view.shown);
    EXPECT_EQ(view.rows[0], QStringList({u"1"_s, u"1"_s, u"1"_s, u"P001: ROCK1-IN"_s, u"4"_s,
                                         u"120.0"_s, u"4/4"_s}));
    EXPECT_EQ(view.rows[1], QStringList({u"2"_s, u"2"_s, u"1"_s, u"S012: GROOVE"_s, u"255"_s,
                                         u"95.5"_s, u"1/8"_s}));
    EXPECT_EQ(view.rows[2][3], u"S100: LASTONE!"_s);
    EXPECT_EQ(view.rows[3][3], u"P097: POP1 -IN"_s);
    EXPECT_EQ(view.rows[3][5], u"-10.0"_s); // a signed 16-bit number
    EXPECT_EQ(view.rows[3][6], QString());  // beyond the table
    // Numbers beyond the tables show their number with no name; only three digits are kept.
    EXPECT_EQ(view.rows[4][3], u"S101: "_s);
    EXPECT_EQ(view.rows[5][3], u"P328: "_s);
    EXPECT_EQ(view.rows[6][3], u"P536: "_s);
    EXPECT_EQ(view.rows[7],
              QStringList({u"8"_s, u"8"_s, Dots, u"P327: BREAK"_s, u"4"_s, u"120.0"_s, u"4/4"_s}));
}

TEST(ArrangementViewTest, CaptionsDrumKitsAndTheSelectedArrangement) {
    ArrangeFileBuilder arrange;
    arrange.name(0, "INTRO").name(1, "  VERSE \t").name(2, "CHORUS").name(3, "");
    arrange.name(4, "ABCDEFGHIJKL").drumKit(4, 1, 4); // no zero byte before the kit bytes
    arrange.drumKit(2, 1, 2).steps(2, {FixtureStep::Preset(0, 5), Break(2)});
    arrange.drumKit(0, 0, 8).drumKit(1, 255, 255).drumKit(3, 0, 14);
    const ArrangementView view = View(arrange, 2);
    EXPECT_EQ(view.captions, QStringList({u"S01 - INTRO"_s, u"S02 - VERSE"_s, u"S03 - CHORUS"_s,
                                          u"S04 - "_s, u"S05 - ABCDEFGHIJKL"_s}));
    EXPECT_EQ(view.rows[0][3], u"P006: ROCK1-E"_s);
    EXPECT_EQ(view.timeText, u"  0:04"_s);
    // Items beyond the list show the blank item; outside the five arrangements the empty one.
    const std::pair<int, int> kits[] = {{0, 8}, {1, 14}, {2, 11}, {3, 14}, {4, 13}, {9, 0}};
    for (const auto& [a, item] : kits)
        EXPECT_EQ(View(arrange, a).drumKitItem, item) << a;
    EXPECT_TRUE(View(arrange, -1).rows[0].join(QString()).isEmpty());
}

TEST(ArrangementViewTest, ClipboardTextHoldsHeadingsAndUsedRows) {
    const QString headings = u"\tStarting\tStep\t\tPattern\t\tTime\r\n"
                             u"Step\tMeasure\tLength\tPattern\tLength\tTempo\tSignature\r\n"_s;
    ArrangeFileBuilder arrange;
    arrange.steps(0, {P(0), Break(4)});
    EXPECT_EQ(ArrangementClipboardText(View(arrange)),
              headings + u"1\t1\t4\tP001: ROCK1-IN\t4\t120.0\t4/4\r\n2\t5\t"_s + Dots +
                  u"\tP327: BREAK\t4\t120.0\t4/4\r\n\r\n"_s);
    EXPECT_EQ(ArrangementClipboardText(View(ArrangeFileBuilder())), headings + u"\r\n"_s);
}
