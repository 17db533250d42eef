#include "support/cardtest.h"
#include "transfer/sizetext.h"

#include <QLocale>
#include <QRegularExpression>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

struct SizeCase {
    std::int64_t bytes;
    int mode;
    const char* text;
};

template <std::size_t N>
void ExpectSizeTexts(QLocale::Language language, const SizeCase (&cases)[N]) {
    const ScopedDefaultLocale locale{QLocale(language, QLocale::AnyTerritory)};
    for (const SizeCase& c : cases)
        EXPECT_EQ(FormatSizeText(c.bytes, c.mode), S(c.text)) << c.bytes << " mode " << c.mode;
}

} // namespace

// Whole numbers carry group separators; two-decimal texts (below the unit, and negative
// counts, which fall below every threshold) carry none. Any unknown mode is automatic.
TEST(SizeTextTest, UnitsRoundingAndSeparators) {
    const int Auto = SizeUnitAuto;
    const int KB = SizeUnitKB;
    const int MB = SizeUnitMB;
    const SizeCase english[] = {{0, Auto, "0.00 KB"},
                                {5, Auto, "0.01 KB"},
                                {999, Auto, "1.00 KB"},
                                {1000, Auto, "1 KB"},
                                {1499, Auto, "1 KB"},
                                {999'999, Auto, "1,000 KB"},
                                {1'000'000, Auto, "1 MB"},
                                {1'500'000, Auto, "2 MB"},
                                {INT64_MAX, Auto, "9,223,372,036,855 MB"},
                                {999'999, 3, "1,000 KB"},
                                {999'999, -1, "1,000 KB"},
                                {1'000'000, KB, "1,000 KB"},
                                {12'345'678'901LL, KB, "12,345,679 KB"},
                                {999'999, MB, "1.00 MB"},
                                {1'000'000, MB, "1 MB"},
                                {5'555'000'000LL, MB, "5,555 MB"},
                                {-5'000'000, Auto, "-5000.00 KB"},
                                {-5'000'000, KB, "-5000.00 KB"},
                                {-5'000'000, MB, "-5.00 MB"}};
    const SizeCase german[] = {{0, Auto, "0,00 KB"},
                               {999'999, Auto, "1.000 KB"},
                               {5'000'000'000LL, Auto, "5.000 MB"},
                               {500'000, MB, "0,50 MB"},
                               {-5'000'000, Auto, "-5000,00 KB"}};
    ExpectSizeTexts(QLocale::English, english);
    ExpectSizeTexts(QLocale::German, german);
    const ScopedDefaultLocale us{QLocale(QLocale::English, QLocale::UnitedStates)};
    EXPECT_TRUE(FormatSizeText(-1, Auto).contains(QRegularExpression(S("^-?0\\.00 KB$"))));
}

TEST(SizeTextTest, FixedFieldsZeroPaddingAndBlankTexts) {
    const std::array<std::uint8_t, 10> full = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'};
    const std::array<std::uint8_t, 8> inner = {'A', 0, 'C', 'D', 0, 0, 0, 0};
    const std::array<std::uint8_t, 4> latin1 = {'C', 'a', 0xE9, 0xFF};
    EXPECT_EQ(FixedFieldText(inner, 8), S("A"));
    EXPECT_EQ(FixedFieldText(full, 8), S("ABCDEFGH"));
    EXPECT_EQ(FixedFieldText(std::span(full).first(3), 8), S("ABC"));
    EXPECT_EQ(FixedFieldText(full, -3), QString());
    EXPECT_EQ(FixedFieldText(latin1, 4), S("Ca\xC3\xA9\xC3\xBF"));

    const std::tuple<long long, int, const char*> padded[] = {
        {7, 3, "007"}, {42, 2, "42"}, {1234, 3, "234"}, {12, 10, "0000000012"}, {5, 0, ""}};
    for (const auto& [value, width, text] : padded)
        EXPECT_EQ(ZeroPadded(value, width), S(text)) << value << " in " << width;

    // Only blanks, tabs and line breaks are blank (no vertical tab, no no-break space).
    const std::pair<const char*, bool> blanks[] = {
        {"", true}, {" \t\r\n  ", true}, {"  a  ", false}, {"\v", false}, {"\xC2\xA0", false}};
    for (const auto& [text, blank] : blanks) {
        EXPECT_EQ(IsBlankText(S(text)), blank) << text;
        EXPECT_EQ(IsBlankText(text), blank) << text;
    }
    EXPECT_TRUE(IsBlankText(static_cast<const char*>(nullptr)));
}
