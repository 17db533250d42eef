#include "card/recordermodel.h"
#include "card/vocabulary.h"

#include <QString>
#include <climits>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

// Spot checks at the ends of each table and at the places where its pattern changes, and
// indexes outside every table.
TEST(VocabularyTest, TimeSignaturesAndDrumKits) {
    EXPECT_EQ(TimeSignatureText(0), S("1/1"));
    EXPECT_EQ(TimeSignatureText(19), S("4/4"));
    EXPECT_EQ(TimeSignatureText(31), S("8/8"));
    EXPECT_EQ(TimeSignatureBeats(19), 4);
    EXPECT_EQ(TimeSignatureBeats(31), 8);
    EXPECT_EQ(DrumKitText(8), S("P9 - 808"));
    EXPECT_EQ(DrumKitText(9), S("S1 - Song Kit 1"));
    EXPECT_EQ(DrumKitText(14), S(" "));
    for (int i : {-1, 32, 256, INT_MIN, INT_MAX})
        EXPECT_TRUE(TimeSignatureText(i).isEmpty()) << i;
    for (int i : {-1, 15, INT_MIN, INT_MAX})
        EXPECT_TRUE(DrumKitText(i).isEmpty()) << i;
}

TEST(VocabularyTest, PresetPatternNames) {
    // Four-letter styles keep a trailing space before the hyphen.
    const struct {
        int index;
        const char* name;
    } cases[] = {{0, "ROCK1-IN"},      {5, "ROCK1-E"},       {16, "ROCK3-F2"}, {96, "POP1 -IN"},
                 {180, "R&B1 -IN"},    {252, "FUNK -IN"},    {293, "Othr3-E"}, {294, "Metro (1/1)"},
                 {313, "Metro (4/4)"}, {325, "Metro (8/8)"}, {326, "BREAK"}};
    for (const auto& c : cases)
        EXPECT_EQ(PresetPatternName(c.index), S(c.name)) << c.index;
    for (int i : {-1, 327, 0xFFFF, INT_MIN, INT_MAX})
        EXPECT_TRUE(PresetPatternName(i).isEmpty()) << i;
}

TEST(VocabularyTest, RecordModesAlgorithmsAndPlayerModes) {
    EXPECT_EQ(RecordModeText(2), S("HiFi (MT2)"));
    EXPECT_EQ(RecordModeText(4), S("LONG (LV2)"));
    EXPECT_EQ(RecordModeText(1), S("Type: 1"));
    EXPECT_EQ(RecordModeText(255), S("Type: 255"));
    EXPECT_EQ(AlgorithmName(0), S("COSM GTR AMP"));
    EXPECT_EQ(AlgorithmName(13), QString()); // gaps in the table
    EXPECT_EQ(AlgorithmName(19), QString());
    EXPECT_EQ(AlgorithmName(20), S("MSTR TOOL KIT"));
    EXPECT_EQ(AlgorithmName(21), S("?21"));
    EXPECT_EQ(PlayerModeText(0), S("[0] Not ready"));
    EXPECT_EQ(PlayerModeText(6), S("[6] Open"));
    EXPECT_EQ(PlayerModeText(7), S("<<< 7 >>>"));
    EXPECT_EQ(PlayerModeText(-1), S("<<< -1 >>>"));
}

// Tags compare exactly, trailing spaces included.
TEST(RecorderModelTest, NamesTagsAndLabels) {
    const struct {
        RecorderModel model;
        const char* tag;
        const char* name;
        const char* label;
    } models[] = {
        {RecorderModel::BR532, "BR-532 ", "BR-532", "BOSS_BR-532"},
        {RecorderModel::BR864, "BR-864 ", "BR-864", "BOSS_BR-864"},
        {RecorderModel::BR900, "BR-900 ", "BR-900", "BOSS_BR-900"},
        {RecorderModel::BR600, "BR-600 ", "BR-600", "BOSS_BR-600"},
        {RecorderModel::MicroBR, "MicroBR", "Micro BR", "MICRO_BR"},
        {RecorderModel::BR800, "BR-800 ", "BR-800", "BOSS_BR-800"},
        {RecorderModel::BR80, "BR-80  ", "BR-80", "BOSS_BR-80"},
    };
    for (const auto& row : models) {
        EXPECT_EQ(RecorderModelName(row.model), S(row.name));
        EXPECT_EQ(RecorderModelTag(row.model), S(row.tag));
        EXPECT_EQ(RecorderModelFromTag(S(row.tag)), row.model) << row.tag;
        EXPECT_EQ(RecorderModelVolumeLabel(row.model), S(row.label));
        EXPECT_EQ(RecorderModelFromVolumeLabel(S(row.label)), row.model) << row.label;
    }
    EXPECT_EQ(RecorderModelName(RecorderModel::None), S("???"));
    EXPECT_TRUE(RecorderModelTag(RecorderModel::None).isEmpty());
    EXPECT_TRUE(RecorderModelVolumeLabel(RecorderModel::None).isEmpty());
    EXPECT_EQ(RecorderModelName(static_cast<RecorderModel>(8)), S("???"));
    for (const char* tag : {"BR-80 ", "BR-80   ", "Micro BR", "microBR", "br-864 ", " BR-864",
                            "BR-864", "", "???", "BR-8640"})
        EXPECT_EQ(RecorderModelFromTag(S(tag)), RecorderModel::None) << '"' << tag << '"';
}
