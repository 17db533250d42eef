#include "support/cardtest.h"
#include "transfer/sizetext.h"

#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

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
