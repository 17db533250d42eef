#include "app/core/localpages.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

class LocalPagesTest : public ::testing::Test {
protected:
    void SetUp() override { QStandardPaths::setTestModeEnabled(true); }
    void TearDown() override { QStandardPaths::setTestModeEnabled(false); }
    QString at(const QString& relative) const { return m_temp.path(relative); }
    bool makePage(const QString& folder) const {
        QFile page(at(folder + u"/index.html"_s));
        return QDir().mkpath(at(folder)) && page.open(QIODevice::WriteOnly) &&
               page.write("<html></html>") > 0;
    }
    TempFolder m_temp;
};

} // namespace

// The page installed beside the program's share folder wins over the source tree of a build
// folder; a missing page gives the installed path.
TEST_F(LocalPagesTest, InstalledPageSourceTreeOrInstalledPath) {
    ASSERT_TRUE(QDir().mkpath(at(u"usr/bin"_s)) && makePage(u"usr/share/sorvane/help"_s) &&
                makePage(u"usr/share/sorvane/home"_s));
    EXPECT_EQ(FindLocalPage(at(u"usr/bin"_s), u"help"_s),
              at(u"usr/share/sorvane/help/index.html"_s));
    EXPECT_EQ(FindLocalPage(at(u"usr/bin"_s), u"home"_s),
              at(u"usr/share/sorvane/home/index.html"_s));

    ASSERT_TRUE(QDir().mkpath(at(u"src/build/debug"_s)) && makePage(u"src/docs/help"_s));
    EXPECT_EQ(FindLocalPage(at(u"src/build/debug"_s), u"help"_s),
              at(u"src/docs/help/index.html"_s));
    ASSERT_TRUE(makePage(u"src/build/share/sorvane/help"_s));
    EXPECT_EQ(FindLocalPage(at(u"src/build/debug"_s), u"help"_s),
              at(u"src/build/share/sorvane/help/index.html"_s));

    ASSERT_TRUE(QDir().mkpath(at(u"opt/bin"_s)));
    EXPECT_EQ(FindLocalPage(at(u"opt/bin"_s), u"home"_s),
              at(u"opt/share/sorvane/home/index.html"_s));
}
