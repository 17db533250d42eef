#include "card/songlisttext.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

SongListItem Item(const char* songId, const char* name, std::uint64_t size, std::uint8_t recordMode,
                  bool isProtected, RecorderModel model, const char* version) {
    SongListItem item;
    item.songId = S(songId);
    item.name = S(name);
    item.size = size;
    item.recordMode = recordMode;
    item.isProtected = isProtected;
    item.model = model;
    item.version = S(version);
    return item;
}

class SongListTextTest : public ::testing::Test {
protected:
    ScopedDefaultLocale m_locale{QLocale(QLocale::English, QLocale::UnitedStates)};
};

} // namespace

TEST_F(SongListTextTest, RowCells) {
    EXPECT_EQ(
        SongListRow(Item("SONG001", "AB      ", 12'345'678, 2, true, RecorderModel::BR864, "1.03")),
        QStringList({S("SONG001"), S("AB      "), S("12 MB"), S("HiFi (MT2)"), S("Yes"),
                     S("BR-864 v.1.03")}));
    EXPECT_EQ(SongListRow(Item("SONG002", "", 500'000, 7, false, RecorderModel::None, "")),
              QStringList({S("SONG002"), S(""), S("0.50 MB"), S("Type: 7"), S("No"), S("??? v.")}));
    EXPECT_EQ(
        SongListRow(Item("S", "x", 5'555'000'000ULL, 4, false, RecorderModel::MicroBR, "1.00"))
            .mid(2),
        QStringList({S("5,555 MB"), S("LONG (LV2)"), S("No"), S("Micro BR v.1.00")}));
}

TEST_F(SongListTextTest, StatusTextCountsSongsAndTotalsTheirSizes) {
    std::vector<SongListItem> songs;
    EXPECT_TRUE(SongListStatusText(songs).isEmpty());
    songs.push_back(Item("SONG001", "", 1'000'000, 2, false, RecorderModel::BR864, "1.00"));
    EXPECT_EQ(SongListStatusText(songs), S(" 1 Song     Total Size: 1 MB"));
    songs.push_back(Item("SONG002", "", 3'000'000'000ULL, 2, false, RecorderModel::BR864, ""));
    songs.push_back(Item("SONG003", "", 3'000'000'000ULL, 2, false, RecorderModel::BR864, ""));
    EXPECT_EQ(SongListStatusText(songs), S(" 3 Songs     Total Size: 6,001 MB"));
    std::vector<SongListItem> small(12, Item("S", "", 40, 2, false, RecorderModel::BR80, ""));
    EXPECT_EQ(SongListStatusText(small), S(" 12 Songs     Total Size: 0.48 KB"));
}

// Trailing blank rows are dropped, but never row 0; cell texts are copied unchanged.
TEST(GridToTextTest, TrailingBlankRowsAreDropped) {
    const QList<QStringList> rows = {{S("H1"), S("H2")}, {S("a"), S("b")}, {S(""), S(" ")},
                                     {S("c"), S("")},    {S(""), S("")},   {S("\t"), S("\r\n")}};
    EXPECT_EQ(GridToText(rows, 0), S("H1\tH2\r\na\tb\r\n\t \r\nc\t\r\n\r\n"));
    EXPECT_EQ(GridToText(rows, 3), S("c\t\r\n\r\n"));
    EXPECT_EQ(GridToText(rows, 4), S("\r\n"));
    EXPECT_EQ(GridToText({{S(" lead"), S("trail "), S("POP1 -IN")}}, 0),
              S(" lead\ttrail \tPOP1 -IN\r\n\r\n"));
    const QList<QStringList> blank = {{S(""), S("")}, {S(""), S("")}};
    EXPECT_EQ(GridToText(blank, 0), S("\t\r\n\r\n"));
    EXPECT_EQ(GridToText(blank, 1), S("\r\n"));
    EXPECT_EQ(GridToText({}, 0), S("\r\n"));
}

TEST_F(SongListTextTest, ClipboardText) {
    const QString headingLine = S("Song\tName\tSize\tData Type\tProtected\tCreated with\r\n");
    const std::vector<SongListItem> songs = {
        Item("SONG001", "AB      ", 2'000'000, 3, false, RecorderModel::BR600, "1.02"),
        Item("SONG002", "Caf\xC3\xA9", 400'000, 4, true, RecorderModel::BR532, "2.00")};
    EXPECT_EQ(SongListClipboardText(songs, 3),
              headingLine + S("SONG001\tAB      \t2 MB\tSTD (LV1)\tNo\tBR-600 v.1.02\r\n") +
                  S("SONG002\tCaf\xC3\xA9\t0.40 MB\tLONG (LV2)\tYes\tBR-532 v.2.00\r\n") +
                  S("\r\n 2 Songs     Total Size: 2 MB\r\n\r\n"));
    for (int rowCount : {1, 10})
        EXPECT_EQ(SongListClipboardText({}, rowCount), headingLine + S("\r\n\r\n\r\n"));
}
