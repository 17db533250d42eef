#include "support/cardtest.h"
#include "transfer/sizetext.h"

#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FolderSizeTest : public CardRootTest {
protected:
    std::int32_t sizeOf(const QString& relative, std::uint64_t& total) const {
        total = 12345; // must be reset by the call
        return FolderSize(m_card.path(relative), total);
    }
};

// Size a symbolic link itself has on disk (the length of its target text).
std::uint64_t LinkSize(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

} // namespace

TEST_F(FolderSizeTest, MissingFolderOrPlainFileIsZero) {
    std::uint64_t total = 0;
    EXPECT_EQ(sizeOf(QStringLiteral("missing"), total), 0);
    EXPECT_EQ(total, 0u);
    ASSERT_TRUE(m_card.writeFile(QStringLiteral("plain.bin"), QByteArray(10, 'x')));
    EXPECT_EQ(sizeOf(QStringLiteral("plain.bin"), total), 0);
    EXPECT_EQ(total, 0u);
}

TEST_F(FolderSizeTest, EmptyTreeCountsNoFolders) {
    ASSERT_TRUE(m_card.makeFolder(QStringLiteral("t/a/b/c")));
    ASSERT_TRUE(m_card.makeFolder(QStringLiteral("t/d")));
    ASSERT_TRUE(m_card.makeFolder(QStringLiteral("t/.hidden")));
    std::uint64_t total = 0;
    EXPECT_EQ(sizeOf(QStringLiteral("t"), total), 0);
    EXPECT_EQ(total, 0u);
}

TEST_F(FolderSizeTest, NestedAndHiddenFilesAreCounted) {
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/one.bin"), 100));
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/.hidden.bin"), 20));
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/a/b/deep.bin"), 3));
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/.dir/inside.bin"), 4000));
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/a/empty.bin"), 0));
    std::uint64_t total = 0;
    EXPECT_EQ(sizeOf(QStringLiteral("t"), total), 5);
    EXPECT_EQ(total, 4123u);
    // A trailing separator names the same folder.
    EXPECT_EQ(sizeOf(QStringLiteral("t/"), total), 5);
    EXPECT_EQ(total, 4123u);
}

TEST_F(FolderSizeTest, TotalsBeyondFourGigabytes) {
    const qint64 big = 5'000'000'000LL;
    const qint64 other = 3'000'000'001LL;
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/big.wav"), big));
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/sub/other.wav"), other));
    std::uint64_t total = 0;
    EXPECT_EQ(sizeOf(QStringLiteral("t"), total), 2);
    EXPECT_EQ(total, static_cast<std::uint64_t>(big + other));
}

TEST_F(FolderSizeTest, SymbolicLinksAreNotFollowedIntoFolders) {
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/a/file.bin"), 10));
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("outside/huge.bin"), 1'000'000));
    ASSERT_TRUE(m_card.makeSymlink(QStringLiteral("t/a/loop"), m_card.path(QStringLiteral("t"))));
    ASSERT_TRUE(
        m_card.makeSymlink(QStringLiteral("t/away"), m_card.path(QStringLiteral("outside"))));
    std::uint64_t total = 0;
    // Each link is one entry of its own size; nothing behind it is counted.
    EXPECT_EQ(sizeOf(QStringLiteral("t"), total), 3);
    EXPECT_EQ(total, 10 + LinkSize(m_card.path(QStringLiteral("t/a/loop"))) +
                         LinkSize(m_card.path(QStringLiteral("t/away"))));
}

TEST_F(FolderSizeTest, DanglingLinkDoesNotStopTheWalk) {
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/file.bin"), 7));
    ASSERT_TRUE(
        m_card.makeSymlink(QStringLiteral("t/dangling"), m_card.path(QStringLiteral("nowhere"))));
    std::uint64_t total = 0;
    EXPECT_EQ(sizeOf(QStringLiteral("t"), total), 2);
    EXPECT_EQ(total, 7 + LinkSize(m_card.path(QStringLiteral("t/dangling"))));
}

// Root reads every folder whatever its mode, so the unreadable case is checked in a child
// process that gives up root first.
TEST_F(FolderSizeTest, UnreadableFolderIsSkipped) {
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/readable.bin"), 5));
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("t/locked/secret.bin"), 50));
    ASSERT_EQ(::chmod(QFile::encodeName(m_card.path(QStringLiteral("t/locked"))).constData(), 0),
              0);
    std::uint64_t total = 0;
    if (!RunningAsRoot()) {
        EXPECT_EQ(sizeOf(QStringLiteral("t"), total), 1);
        EXPECT_EQ(total, 5u);
        return;
    }
    EXPECT_EQ(sizeOf(QStringLiteral("t"), total), 2); // root reads the locked folder
    EXPECT_EQ(total, 55u);
    ASSERT_EQ(::chmod(QFile::encodeName(m_temp.path()).constData(), 0755), 0);
    const QString folder = m_card.path(QStringLiteral("t"));
    EXPECT_EXIT(
        {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                std::_Exit(3);
            std::uint64_t childTotal = 0;
            const std::int32_t count = FolderSize(folder, childTotal);
            std::_Exit(count == 1 && childTotal == 5 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
