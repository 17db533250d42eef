#include "support/cardtest.h"
#include "transfer/sizetext.h"

#include <QLocale>
#include <QRegularExpression>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

class SizeTextTest : public ::testing::Test {
protected:
    ScopedDefaultLocale m_locale{QLocale(QLocale::English, QLocale::UnitedStates)};
};

} // namespace

TEST_F(SizeTextTest, AutomaticUnit) {
    EXPECT_EQ(FormatSizeText(0, SizeUnitAuto), S("0.00 KB"));
    EXPECT_EQ(FormatSizeText(1, SizeUnitAuto), S("0.00 KB"));
    EXPECT_EQ(FormatSizeText(5, SizeUnitAuto), S("0.01 KB"));
    EXPECT_EQ(FormatSizeText(999, SizeUnitAuto), S("1.00 KB"));
    EXPECT_EQ(FormatSizeText(1000, SizeUnitAuto), S("1 KB"));
    EXPECT_EQ(FormatSizeText(1499, SizeUnitAuto), S("1 KB"));
    EXPECT_EQ(FormatSizeText(999'999, SizeUnitAuto), S("1,000 KB"));
    EXPECT_EQ(FormatSizeText(1'000'000, SizeUnitAuto), S("1 MB"));
    EXPECT_EQ(FormatSizeText(1'500'000, SizeUnitAuto), S("2 MB"));
    EXPECT_EQ(FormatSizeText(5'000'000'000LL, SizeUnitAuto), S("5,000 MB"));
    EXPECT_EQ(FormatSizeText(INT64_MAX, SizeUnitAuto), S("9,223,372,036,855 MB"));
    for (int mode : {3, -1, 99}) // any other mode is automatic
        EXPECT_EQ(FormatSizeText(999'999, mode), S("1,000 KB")) << mode;
}

TEST_F(SizeTextTest, KilobyteMode) {
    EXPECT_EQ(FormatSizeText(999, SizeUnitKB), S("1.00 KB"));
    EXPECT_EQ(FormatSizeText(1000, SizeUnitKB), S("1 KB"));
    EXPECT_EQ(FormatSizeText(1'000'000, SizeUnitKB), S("1,000 KB"));
    EXPECT_EQ(FormatSizeText(12'345'678'901LL, SizeUnitKB), S("12,345,679 KB"));
}

TEST_F(SizeTextTest, MegabyteMode) {
    EXPECT_EQ(FormatSizeText(500'000, SizeUnitMB), S("0.50 MB"));
    EXPECT_EQ(FormatSizeText(999'999, SizeUnitMB), S("1.00 MB"));
    EXPECT_EQ(FormatSizeText(0, SizeUnitMB), S("0.00 MB"));
    EXPECT_EQ(FormatSizeText(1'000'000, SizeUnitMB), S("1 MB"));
    EXPECT_EQ(FormatSizeText(5'555'000'000LL, SizeUnitMB), S("5,555 MB"));
}

TEST_F(SizeTextTest, NegativeCountsFallBelowEveryThreshold) {
    // The two-decimal pattern carries no thousands separators.
    EXPECT_TRUE(FormatSizeText(-1, SizeUnitAuto).contains(QRegularExpression(S("^-?0\\.00 KB$"))))
        << FormatSizeText(-1, SizeUnitAuto).toStdString();
    EXPECT_EQ(FormatSizeText(-5'000'000, SizeUnitAuto), S("-5000.00 KB"));
    EXPECT_EQ(FormatSizeText(-5'000'000, SizeUnitKB), S("-5000.00 KB"));
    EXPECT_EQ(FormatSizeText(-5'000'000, SizeUnitMB), S("-5.00 MB"));
}

TEST(SizeTextLocaleTest, SeparatorsFollowTheLocale) {
    const ScopedDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatSizeText(0, SizeUnitAuto), S("0,00 KB"));
    EXPECT_EQ(FormatSizeText(999'999, SizeUnitAuto), S("1.000 KB"));
    EXPECT_EQ(FormatSizeText(5'000'000'000LL, SizeUnitAuto), S("5.000 MB"));
    EXPECT_EQ(FormatSizeText(500'000, SizeUnitMB), S("0,50 MB"));
    EXPECT_EQ(FormatSizeText(-5'000'000, SizeUnitAuto), S("-5000,00 KB"));
}

TEST(FixedFieldTextTest, EndsAtZeroOrWidthOrTheBytesAndReadsLatin1) {
    const std::array<std::uint8_t, 8> inner = {'A', 0, 'C', 'D', 0, 0, 0, 0};
    EXPECT_EQ(FixedFieldText(inner, 8), S("A"));
    const std::array<std::uint8_t, 8> empty = {};
    EXPECT_EQ(FixedFieldText(empty, 8), QString());
    const std::array<std::uint8_t, 10> full = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'};
    EXPECT_EQ(FixedFieldText(full, 8), S("ABCDEFGH"));
    EXPECT_EQ(FixedFieldText(full, 0), QString());
    EXPECT_EQ(FixedFieldText(full, -3), QString());
    const std::array<std::uint8_t, 3> shortField = {'X', 'Y', 'Z'};
    EXPECT_EQ(FixedFieldText(shortField, 8), S("XYZ"));
    const std::array<std::uint8_t, 4> bytes = {'C', 'a', 0xE9, 0xFF};
    EXPECT_EQ(FixedFieldText(bytes, 4), S("Ca\xC3\xA9\xC3\xBF"));
}

TEST(ZeroPaddedTest, PadsAndKeepsTheLastDigits) {
    EXPECT_EQ(ZeroPadded(7, 3), S("007"));
    EXPECT_EQ(ZeroPadded(42, 2), S("42"));
    EXPECT_EQ(ZeroPadded(1234, 3), S("234"));
    EXPECT_EQ(ZeroPadded(0, 1), S("0"));
    EXPECT_EQ(ZeroPadded(12, 10), S("0000000012"));
    EXPECT_EQ(ZeroPadded(5, 0), QString());
}

TEST(IsBlankTextTest, OnlyBlanksTabsAndLineBreaks) {
    EXPECT_TRUE(IsBlankText(QString()));
    EXPECT_TRUE(IsBlankText(S("")));
    EXPECT_TRUE(IsBlankText(S(" \t\r\n  ")));
    EXPECT_FALSE(IsBlankText(S("a")));
    EXPECT_FALSE(IsBlankText(S("  a  ")));
    EXPECT_FALSE(IsBlankText(S("\v")));
    EXPECT_FALSE(IsBlankText(S("\xC2\xA0"))); // no-break space is text
    EXPECT_FALSE(IsBlankText(S("0")));
}

TEST(IsBlankTextTest, CharacterPointers) {
    EXPECT_TRUE(IsBlankText(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(IsBlankText(""));
    EXPECT_TRUE(IsBlankText("\r\n\t "));
    EXPECT_FALSE(IsBlankText(" x"));
}
