#include "card/recordermodel.h"
#include "card/vocabulary.h"

#include <QString>
#include <climits>
#include <gtest/gtest.h>

// The ends of each table, the places where its pattern changes, and indexes outside every
// table (empty texts). Four-letter styles keep a trailing space before the hyphen.
TEST(VocabularyTest, TableTexts) {
    using Table = std::initializer_list<std::pair<int, const char*>>;
    const auto check = [](QString (*text)(int), Table table) {
        for (const auto& [index, expected] : table)
            EXPECT_EQ(text(index), QString::fromLatin1(expected)) << expected << index;
    };
    check(TimeSignatureText, {{0, "1/1"}, {19, "4/4"}, {31, "8/8"}, {32, ""}, {INT_MIN, ""}});
    check(DrumKitText, {{8, "P9 - 808"}, {9, "S1 - Song Kit 1"}, {14, " "}, {15, ""}, {-1, ""}});
    check(PresetPatternName, {{0, "ROCK1-IN"},
                              {5, "ROCK1-E"},
                              {16, "ROCK3-F2"},
                              {96, "POP1 -IN"},
                              {180, "R&B1 -IN"},
                              {252, "FUNK -IN"},
                              {293, "Othr3-E"},
                              {294, "Metro (1/1)"},
                              {325, "Metro (8/8)"},
                              {326, "BREAK"},
                              {327, ""},
                              {-1, ""}});
    check(RecordModeText, {{2, "HiFi (MT2)"}, {255, "Type: 255"}});
    check(AlgorithmName, {{13, ""}, {19, ""}, {20, "MSTR TOOL KIT"}});
    check(PlayerModeText,
          {{0, "[0] Not ready"}, {6, "[6] Open"}, {7, "<<< 7 >>>"}, {-1, "<<< -1 >>>"}});
    EXPECT_EQ(TimeSignatureBeats(19), 4);
    EXPECT_EQ(TimeSignatureBeats(31), 8);
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
        {RecorderModel::None, "", "???", ""},
    };
    for (const auto& row : models) {
        EXPECT_EQ(RecorderModelName(row.model), QString::fromLatin1(row.name));
        EXPECT_EQ(RecorderModelTag(row.model), QString::fromLatin1(row.tag));
        EXPECT_EQ(RecorderModelFromTag(QString::fromLatin1(row.tag)), row.model) << row.tag;
        EXPECT_EQ(RecorderModelVolumeLabel(row.model), QString::fromLatin1(row.label));
        EXPECT_EQ(RecorderModelFromVolumeLabel(QString::fromLatin1(row.label)), row.model);
    }
    EXPECT_EQ(RecorderModelName(static_cast<RecorderModel>(8)), QString::fromLatin1("???"));
    for (const char* tag : {"BR-80 ", "br-864 ", " BR-864", "BR-864"})
        EXPECT_EQ(RecorderModelFromTag(QString::fromLatin1(tag)), RecorderModel::None) << tag;
}
