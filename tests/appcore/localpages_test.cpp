#include "app/core/localpages.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

bool MakePage(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        return false;
    }
    QFile page(folder + QStringLiteral("/index.html"));
    return page.open(QIODevice::WriteOnly) && page.write("<html></html>") > 0;
}

class LocalPagesTest : public ::testing::Test {
protected:
    void SetUp() override { QStandardPaths::setTestModeEnabled(true); }
    void TearDown() override { QStandardPaths::setTestModeEnabled(false); }
    TempFolder m_temp;
};

} // namespace

TEST_F(LocalPagesTest, InstalledPageBesideTheProgram) {
    ASSERT_TRUE(QDir().mkpath(m_temp.path(QStringLiteral("usr/bin"))));
    ASSERT_TRUE(MakePage(m_temp.path(QStringLiteral("usr/share/sorvane/help"))));
    ASSERT_TRUE(MakePage(m_temp.path(QStringLiteral("usr/share/sorvane/home"))));
    EXPECT_EQ(FindLocalPage(m_temp.path(QStringLiteral("usr/bin")), QStringLiteral("help")),
              m_temp.path(QStringLiteral("usr/share/sorvane/help/index.html")));
    EXPECT_EQ(FindLocalPage(m_temp.path(QStringLiteral("usr/bin")), QStringLiteral("home")),
              m_temp.path(QStringLiteral("usr/share/sorvane/home/index.html")));
}

TEST_F(LocalPagesTest, SourceTreeOfABuildFolder) {
    ASSERT_TRUE(QDir().mkpath(m_temp.path(QStringLiteral("src/build/debug"))));
    ASSERT_TRUE(MakePage(m_temp.path(QStringLiteral("src/docs/help"))));
    EXPECT_EQ(FindLocalPage(m_temp.path(QStringLiteral("src/build/debug")), QStringLiteral("help")),
              m_temp.path(QStringLiteral("src/docs/help/index.html")));
    // The installed page wins over the source tree.
    ASSERT_TRUE(MakePage(m_temp.path(QStringLiteral("src/build/share/sorvane/help"))));
    EXPECT_EQ(FindLocalPage(m_temp.path(QStringLiteral("src/build/debug")), QStringLiteral("help")),
              m_temp.path(QStringLiteral("src/build/share/sorvane/help/index.html")));
}

TEST_F(LocalPagesTest, MissingPageGivesTheInstalledPath) {
    ASSERT_TRUE(QDir().mkpath(m_temp.path(QStringLiteral("opt/bin"))));
    EXPECT_EQ(FindLocalPage(m_temp.path(QStringLiteral("opt/bin")), QStringLiteral("home")),
              m_temp.path(QStringLiteral("opt/share/sorvane/home/index.html")));
}
