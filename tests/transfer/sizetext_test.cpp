#include "support/cardtest.h"
#include "transfer/sizetext.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

class FolderSizeTest : public CardRootTest {
protected:
    std::int32_t sizeOf(const QString& relative, std::uint64_t& total) const {
        total = 12345; // must be reset by the call
        return FolderSize(m_card.path(relative), total);
    }
    // Size a symbolic link itself has on disk (the length of its target text).
    std::uint64_t linkSize(const char* relative) const {
        struct stat st {};
        const QByteArray path = QFile::encodeName(m_card.path(QString::fromUtf8(relative)));
        return ::lstat(path.constData(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    }
};

} // namespace

// Whole numbers carry group separators; two-decimal texts (below the unit, and negative
// counts, which fall below every threshold) carry none. Any unknown mode is automatic.
TEST(SizeTextTest, UnitsRoundingAndSeparators) {
    const int Auto = SizeUnitAuto;
    const int KB = SizeUnitKB;
    const int MB = SizeUnitMB;
    const QLocale::Language En = QLocale::English;
    const QLocale::Language De = QLocale::German;
    const std::tuple<QLocale::Language, std::int64_t, int, const char*> cases[] = {
        {En, 0, Auto, "0.00 KB"},
        {En, 5, Auto, "0.01 KB"},
        {En, 999, Auto, "1.00 KB"},
        {En, 1000, Auto, "1 KB"},
        {En, 1499, Auto, "1 KB"},
        {En, 999'999, Auto, "1,000 KB"},
        {En, 1'000'000, Auto, "1 MB"},
        {En, 1'500'000, Auto, "2 MB"},
        {En, INT64_MAX, Auto, "9,223,372,036,855 MB"},
        {En, 999'999, 3, "1,000 KB"},
        {En, 12'345'678'901LL, KB, "12,345,679 KB"},
        {En, 999'999, MB, "1.00 MB"},
        {En, 1'000'000, MB, "1 MB"},
        {En, -5'000'000, Auto, "-5000.00 KB"},
        {En, -5'000'000, MB, "-5.00 MB"},
        {De, 999'999, Auto, "1.000 KB"},
        {De, 5'000'000'000LL, Auto, "5.000 MB"},
        {De, 500'000, MB, "0,50 MB"},
        {De, -5'000'000, Auto, "-5000,00 KB"}};
    for (const auto& [language, bytes, mode, text] : cases) {
        const ScopedDefaultLocale locale{QLocale(language, QLocale::AnyTerritory)};
        EXPECT_EQ(FormatSizeText(bytes, mode), S(text)) << bytes << " mode " << mode;
    }
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

// Hidden and nested files count, 64-bit totals hold, folders (also empty ones) do not count,
// and each link is one entry of its own size: nothing behind it, dangling or not. A missing
// folder or a plain file is zero.
TEST_F(FolderSizeTest, CountsFilesAndLinksOnlyBeyondFourGigabytes) {
    const std::pair<const char*, qint64> files[] = {{"t/one.bin", 100},
                                                    {"t/.hidden.bin", 20},
                                                    {"t/a/b/deep.bin", 3},
                                                    {"t/.dir/inside.bin", 4000},
                                                    {"t/a/empty.bin", 0},
                                                    {"t/big.wav", 5'000'000'000LL},
                                                    {"t/sub/other.wav", 3'000'000'001LL},
                                                    {"outside/huge.bin", 1'000'000}};
    for (const auto& [path, size] : files)
        ASSERT_TRUE(m_card.writeSizedFile(QString::fromUtf8(path), size));
    ASSERT_TRUE(m_card.makeFolder(QStringLiteral("t/e/f/g")));
    ASSERT_TRUE(m_card.makeSymlink(QStringLiteral("t/a/loop"), m_card.path(QStringLiteral("t"))));
    ASSERT_TRUE(
        m_card.makeSymlink(QStringLiteral("t/away"), m_card.path(QStringLiteral("outside"))));
    ASSERT_TRUE(
        m_card.makeSymlink(QStringLiteral("t/dangling"), m_card.path(QStringLiteral("nowhere"))));
    const std::uint64_t expected = 4123 + 8'000'000'001ULL + linkSize("t/a/loop") +
                                   linkSize("t/away") + linkSize("t/dangling");
    const std::tuple<const char*, int, std::uint64_t> cases[] = {
        {"t", 10, expected}, {"t/", 10, expected}, {"missing", 0, 0}, {"t/one.bin", 0, 0}};
    for (const auto& [folder, count, size] : cases) {
        std::uint64_t total = 0;
        EXPECT_EQ(sizeOf(QString::fromUtf8(folder), total), count) << folder;
        EXPECT_EQ(total, size) << folder;
    }
}

// Root reads every folder whatever its mode, so the unreadable case is checked in a child
// process that gives up root first.
TEST_F(FolderSizeTest, UnreadableFolderIsSkipped) {
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/readable.bin"), 5));
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/locked/secret.bin"), 50));
    ASSERT_EQ(::chmod(QFile::encodeName(m_card.path(QStringLiteral("t/locked"))).constData(), 0),
              0);
    ASSERT_EQ(::chmod(QFile::encodeName(m_temp.path()).constData(), 0755), 0);
    const QString folder = m_card.path(QStringLiteral("t"));
    EXPECT_EXIT(
        {
            if (RunningAsRoot() && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(3);
            std::uint64_t childTotal = 0;
            const std::int32_t count = FolderSize(folder, childTotal);
            std::_Exit(count == 1 && childTotal == 5 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
