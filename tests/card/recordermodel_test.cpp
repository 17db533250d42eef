#include "card/recordermodel.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

struct ModelRow {
    RecorderModel model;
    const char* tag;
    const char* name;
    const char* label;
};

const ModelRow Models[] = {
    {RecorderModel::BR532, "BR-532 ", "BR-532", "BOSS_BR-532"},
    {RecorderModel::BR864, "BR-864 ", "BR-864", "BOSS_BR-864"},
    {RecorderModel::BR900, "BR-900 ", "BR-900", "BOSS_BR-900"},
    {RecorderModel::BR600, "BR-600 ", "BR-600", "BOSS_BR-600"},
    {RecorderModel::MicroBR, "MicroBR", "Micro BR", "MICRO_BR"},
    {RecorderModel::BR800, "BR-800 ", "BR-800", "BOSS_BR-800"},
    {RecorderModel::BR80, "BR-80  ", "BR-80", "BOSS_BR-80"},
};

} // namespace

TEST(RecorderModelTest, NamesTagsAndLabels) {
    for (const ModelRow& row : Models) {
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
}

TEST(RecorderModelTest, TagsCompareExactlyTrailingSpacesIncluded) {
    for (const char* tag : {"BR-80 ", "BR-80", "BR-80   ", "Micro BR", "MICROBR", "microBR",
                            "BR-864", "br-864 ", " BR-864", "BR-900  ", "", "???", "BR-8640"})
        EXPECT_EQ(RecorderModelFromTag(S(tag)), RecorderModel::None) << '"' << tag << '"';
}
