#include "card/songlisttext.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Folder name, id, name, size, record mode, protected, model, version.
SongListItem Item(const QString& songId, const QString& name, std::uint64_t size,
                  std::uint8_t recordMode, bool isProtected, RecorderModel model,
                  const QString& version) {
    return {QString(), songId, name, size, recordMode, isProtected, model, version};
}

class SongListTextTest : public ::testing::Test {
protected:
    ScopedDefaultLocale m_locale{QLocale(QLocale::English, QLocale::UnitedStates)};
};

} // namespace

TEST_F(SongListTextTest, RowCellsAndStatusText) {
    const SongListItem songs[] = {
        Item(u"SONG001"_s, u"AB      "_s, 12'345'678, 2, true, RecorderModel::BR864, u"1.03"_s),
        Item(u"SONG002"_s, {}, 500'000, 7, false, RecorderModel::None, {}),
        Item(u"S"_s, u"x"_s, 5'555'000'000ULL, 4, false, RecorderModel::MicroBR, u"1.00"_s)};
    EXPECT_EQ(SongListRow(songs[0]), QStringList({u"SONG001"_s, u"AB      "_s, u"12 MB"_s,
                                                  u"HiFi (MT2)"_s, u"Yes"_s, u"BR-864 v.1.03"_s}));
    EXPECT_EQ(SongListRow(songs[1]).mid(2),
              QStringList({u"0.50 MB"_s, u"Type: 7"_s, u"No"_s, u"??? v."_s}));
    EXPECT_EQ(SongListRow(songs[2]).mid(2),
              QStringList({u"5,555 MB"_s, u"LONG (LV2)"_s, u"No"_s, u"Micro BR v.1.00"_s}));
    EXPECT_TRUE(SongListStatusText({}).isEmpty());
    EXPECT_EQ(SongListStatusText({songs[1]}), u" 1 Song     Total Size: 500 KB"_s);
    EXPECT_EQ(SongListStatusText({songs[0], songs[2]}), u" 2 Songs     Total Size: 5,567 MB"_s);
    const std::vector<SongListItem> small(12, Item(u"S"_s, {}, 40, 2, false, {}, {}));
    EXPECT_EQ(SongListStatusText(small), u" 12 Songs     Total Size: 0.48 KB"_s);
}

// Trailing blank rows are dropped, but never row 0; cell texts are copied unchanged.
TEST(GridToTextTest, TrailingBlankRowsAreDropped) {
    const QList<QStringList> rows = {{u"H1"_s, u"H2"_s}, {u"a"_s, u"b"_s}, {{}, u" "_s},
                                     {u"c"_s, {}},       {{}, {}},         {u"\t"_s, u"\r\n"_s}};
    EXPECT_EQ(GridToText(rows, 0), u"H1\tH2\r\na\tb\r\n\t \r\nc\t\r\n\r\n"_s);
    EXPECT_EQ(GridToText(rows, 3), u"c\t\r\n\r\n"_s);
    EXPECT_EQ(GridToText(rows, 4), u"\r\n"_s);
    EXPECT_EQ(GridToText({{u" lead"_s, u"POP1 -IN"_s}}, 0), u" lead\tPOP1 -IN\r\n\r\n"_s);
    EXPECT_EQ(GridToText({{{}, {}}, {{}, {}}}, 0), u"\t\r\n\r\n"_s);
    EXPECT_EQ(GridToText({}, 0), u"\r\n"_s);
}

TEST_F(SongListTextTest, ClipboardText) {
    const QString headingLine = u"Song\tName\tSize\tData Type\tProtected\tCreated with\r\n"_s;
    const std::vector<SongListItem> songs = {
        Item(u"SONG001"_s, u"AB      "_s, 2'000'000, 3, false, RecorderModel::BR600, u"1.02"_s),
        Item(u"SONG002"_s, u"Caf\u00e9"_s, 400'000, 4, true, RecorderModel::BR532, u"2.00"_s)};
    EXPECT_EQ(SongListClipboardText(songs, 3),
              headingLine + u"SONG001\tAB      \t2 MB\tSTD (LV1)\tNo\tBR-600 v.1.02\r\n"_s +
                  u"SONG002\tCaf\u00e9\t0.40 MB\tLONG (LV2)\tYes\tBR-532 v.2.00\r\n"_s +
                  u"\r\n 2 Songs     Total Size: 2 MB\r\n\r\n"_s);
    EXPECT_EQ(SongListClipboardText({}, 10), headingLine + u"\r\n\r\n\r\n"_s);
}
