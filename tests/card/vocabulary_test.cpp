#include "card/vocabulary.h"

#include <QString>
#include <QStringList>
#include <climits>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

TEST(TimeSignatureTest, EveryEntryInIndexOrder) {
    const char* expected[32] = {"1/1", "2/1", "3/1", "4/1", "5/1", "6/1", "7/1", "8/1",
                                "1/2", "2/2", "3/2", "4/2", "5/2", "6/2", "7/2", "8/2",
                                "1/4", "2/4", "3/4", "4/4", "5/4", "6/4", "7/4", "8/4",
                                "1/8", "2/8", "3/8", "4/8", "5/8", "6/8", "7/8", "8/8"};
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(TimeSignatureText(i), S(expected[i])) << i;
        EXPECT_EQ(TimeSignatureBeats(i), expected[i][0] - '0') << i;
    }
    EXPECT_EQ(TimeSignatureText(19), S("4/4"));
    EXPECT_EQ(TimeSignatureBeats(19), 4);
}

TEST(TimeSignatureTest, OutsideTheTableIsEmpty) {
    for (int i : {-1, 32, 33, 255, 256, INT_MIN, INT_MAX})
        EXPECT_TRUE(TimeSignatureText(i).isEmpty()) << i;
}

TEST(DrumKitTest, PresetKitsSongKitsAndTheBlankItem) {
    const char* expected[15] = {"P1 - STD 1",      "P2 - STD 2",      "P3 - ROOM",
                                "P4 - HARD",       "P5 - JAZZ",       "P6 - HIP-HOP",
                                "P7 - HOUSE",      "P8 - REGGAE",     "P9 - 808",
                                "S1 - Song Kit 1", "S2 - Song Kit 2", "S3 - Song Kit 3",
                                "S4 - Song Kit 4", "S5 - Song Kit 5", " "};
    ASSERT_EQ(DrumKitCount, 15);
    for (int i = 0; i < DrumKitCount; ++i)
        EXPECT_EQ(DrumKitText(i), S(expected[i])) << i;
    for (int i : {-1, 15, 16, INT_MIN, INT_MAX})
        EXPECT_TRUE(DrumKitText(i).isEmpty()) << i;
}

TEST(PresetPatternTest, RhythmEntriesPairStyleAndPart) {
    // Styles keep their trailing space, so "POP1 -IN" has a space before the hyphen.
    const QStringList styles = S("ROCK1 ROCK2 ROCK3 ROCK4 ROCK5 ROCK6 HdRc1 HdRc2 HdRc3 HdRc4 "
                                 "HdRc5 HEVY1 HEVY2 HEVY3 HEVY4 HEVY5 POP1_ POP2_ POP3_ POP4_ "
                                 "POP5_ POP6_ POP7_ POP8_ BALD1 BALD2 BLUS1 BLUS2 BLUS3 BLUS4 "
                                 "R&B1_ R&B2_ R&B3_ R&B4_ R&B5_ JAZZ1 JAZZ2 JAZZ3 FUSN1 FUSN2 "
                                 "H.Hp1 H.Hp2 FUNK_ HOUSE Cnty1 Cnty2 Othr1 Othr2 Othr3")
                                   .replace(u'_', u' ')
                                   .split(u' ', Qt::SkipEmptyParts);
    const QStringList parts = {S("IN"), S("V1"), S("F1"), S("V2"), S("F2"), S("E")};
    ASSERT_EQ(styles.size(), 49);
    for (int i = 0; i < 294; ++i) {
        QString style = styles[i / 6];
        if (style.size() == 4)
            style += u' ';
        EXPECT_EQ(PresetPatternName(i), style + u'-' + parts[i % 6]) << i;
    }
    EXPECT_EQ(PresetPatternName(0), S("ROCK1-IN"));
    EXPECT_EQ(PresetPatternName(5), S("ROCK1-E"));
    EXPECT_EQ(PresetPatternName(16), S("ROCK3-F2"));
    EXPECT_EQ(PresetPatternName(96), S("POP1 -IN"));
    EXPECT_EQ(PresetPatternName(180), S("R&B1 -IN"));
    EXPECT_EQ(PresetPatternName(252), S("FUNK -IN"));
    EXPECT_EQ(PresetPatternName(293), S("Othr3-E"));
}

TEST(PresetPatternTest, MetronomeEntriesAndBreak) {
    EXPECT_EQ(PresetPatternName(294), S("Metro (1/1)"));
    EXPECT_EQ(PresetPatternName(301), S("Metro (8/1)"));
    EXPECT_EQ(PresetPatternName(302), S("Metro (1/2)"));
    EXPECT_EQ(PresetPatternName(313), S("Metro (4/4)"));
    EXPECT_EQ(PresetPatternName(318), S("Metro (1/8)"));
    EXPECT_EQ(PresetPatternName(325), S("Metro (8/8)"));
    EXPECT_EQ(PresetPatternName(PresetPatternBreak), S("BREAK"));
    EXPECT_EQ(PresetPatternBreak, 326);
    for (int i : {-1, 327, 0xFFFF, INT_MIN, INT_MAX})
        EXPECT_TRUE(PresetPatternName(i).isEmpty()) << i;
}

TEST(RecordModeTest, KnownCodesAndTypeNumbers) {
    EXPECT_EQ(RecordModeText(2), S("HiFi (MT2)"));
    EXPECT_EQ(RecordModeText(3), S("STD (LV1)"));
    EXPECT_EQ(RecordModeText(4), S("LONG (LV2)"));
    EXPECT_EQ(RecordModeText(0), S("Type: 0"));
    EXPECT_EQ(RecordModeText(1), S("Type: 1"));
    EXPECT_EQ(RecordModeText(5), S("Type: 5"));
    EXPECT_EQ(RecordModeText(255), S("Type: 255"));
}

TEST(AlgorithmNameTest, TableGapsAndUnknownCodes) {
    const char* expected[21] = {"COSM GTR AMP",
                                "ACOUSTIC SIM",
                                "BASS SIM",
                                "ACOUSTIC GTR",
                                "BASS MULTI",
                                "COSM BASS AMP",
                                "VOCAL MULTI",
                                "VOICE TRANS",
                                "VO+GT AMP",
                                "VO+AC.SIM",
                                "VO+ACOUSTIC",
                                "STEREO MULTI",
                                "LO-FI BOX",
                                "",
                                "",
                                "COSM COMP GTR",
                                "COSM COMP BSS",
                                "COSM COMP VCL",
                                "GTR SYNTH",
                                "",
                                "MSTR TOOL KIT"};
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(AlgorithmName(i), S(expected[i])) << i;
    EXPECT_EQ(AlgorithmName(21), S("?21"));
    EXPECT_EQ(AlgorithmName(37), S("?37"));
    EXPECT_EQ(AlgorithmName(255), S("?255"));
}

TEST(PlayerModeTest, ModesAndOutOfRange) {
    const char* expected[7] = {"[0] Not ready", "[1] Stopped", "[2] Playing", "[3] Recording",
                               "[4] Seeking",   "[5] Paused",  "[6] Open"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(PlayerModeText(i), S(expected[i])) << i;
    EXPECT_EQ(PlayerModeText(7), S("<<< 7 >>>"));
    EXPECT_EQ(PlayerModeText(-1), S("<<< -1 >>>"));
    EXPECT_EQ(PlayerModeText(525), S("<<< 525 >>>"));
}
