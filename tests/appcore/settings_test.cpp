#include "app/core/localpages.h"
#include "app/core/placement.h"
#include "app/core/settings.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <climits>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

using Fields = std::tuple<int, int, int, int, int>;
Fields FieldsOf(const WindowPlacement& p) {
    return {p.windowState, p.top, p.left, p.width, p.height};
}

class SettingsTest : public ::testing::Test {
protected:
    QString iniPath() const { return m_temp.path(u"sorvane.ini"_s); }
    WindowPlacement current() const { return {0, 120, 130, 823, 589}; }
    bool writeIni(const QByteArray& bytes) const {
        return m_files.writeFile(u"sorvane.ini"_s, bytes);
    }

    TempFolder m_temp;
    CardFixture m_files{m_temp.path()};
};

} // namespace

TEST_F(SettingsTest, FirstRunReadsDefaultsAndFirstCloseCreatesBothSections) {
    const SettingsFile file(m_temp.path(u"sub/dir/sorvane.ini"_s));
    const SettingsFile::PathSettings loaded = file.loadPathSettings();
    // The home folder as default folder: see the main window's first run.
    EXPECT_EQ(std::pair(loaded.top, loaded.left), std::pair(10, 10));

    ASSERT_FALSE(
        file.saveAtClose({u"/home/me/BR"_s, QString()}, {0, 40, 50, 823, 589}).has_value());
    EXPECT_EQ(ReadWholeFile(file.path()),
              QByteArray("[Paths]\nDefaultDir=/home/me/BR\nWaveConverter=\n\n"
                         "[MainForm]\nWindowState=0\nTop=40\nLeft=50\nWidth=823\nHeight=589\n"));
}

// Hexadecimal values are read; a value that is no number, and the geometry of a window that
// is not in the normal state, read as the current one; so does an unknown state.
TEST_F(SettingsTest, PlacementIsReadOnlyForTheNormalState) {
    const std::pair<QByteArray, Fields> cases[] = {
        {"WindowState=2\nTop=1\nLeft=2\nWidth=300\nHeight=200\n", {2, 120, 130, 823, 589}},
        {"WindowState=7\nTop=1\n", {0, 1, 130, 823, 589}},
        {"WindowState=0x0\nTop=$20\nLeft=0X10\nWidth=wide\nHeight=0x190\n", {0, 32, 16, 823, 400}},
    };
    for (const auto& [lines, expected] : cases) {
        ASSERT_TRUE(writeIni("[MainForm]\n" + lines));
        EXPECT_EQ(FieldsOf(SettingsFile(iniPath()).readPlacement(current())), expected)
            << lines.data();
    }
    const SettingsFile::PathSettings loaded = SettingsFile(iniPath()).loadPathSettings();
    EXPECT_EQ(std::pair(loaded.top, loaded.left), std::pair(32, 16));
}

// At close the geometry is written only in the normal state (minimised here; the window test
// keeps a maximised one); the preferences write Top and Left whatever the state.
TEST_F(SettingsTest, GeometryIsWrittenAtCloseOnlyInTheNormalState) {
    const SettingsFile file(iniPath());
    const QByteArray geometry = "\nTop=1\nLeft=2\nWidth=300\nHeight=200\n";
    const QByteArray paths = "\n[Paths]\nDefaultDir=/d\nWaveConverter=/w\n";
    ASSERT_TRUE(writeIni("[MainForm]\nWindowState=0" + geometry));
    ASSERT_FALSE(file.saveAtClose({u"/d"_s, u"/w"_s}, {1, 0, 0, 1920, 1080}).has_value());
    EXPECT_EQ(ReadWholeFile(iniPath()), "[MainForm]\nWindowState=1" + geometry + paths);
    ASSERT_FALSE(file.saveAfterPreferences({u"/d"_s, u"/w"_s}, 33, 44).has_value());
    EXPECT_EQ(ReadWholeFile(iniPath()),
              "[MainForm]\nWindowState=1\nTop=33\nLeft=44\nWidth=300\nHeight=200\n" + paths);
}

// A folder name with a line break is not written (a folder where the file should be is
// refused by IniFile's own save).
TEST_F(SettingsTest, FailedWritesReportThePathAndChangeNothing) {
    ASSERT_TRUE(writeIni("[Paths]\nDefaultDir=/safe\n"));
    const SettingsFile file(iniPath());
    const IniWriteError none{QString()};
    EXPECT_EQ(file.saveAtClose({u"/a\n[MainForm]\nTop=1"_s, QString()}, current())
                  .value_or(none)
                  .message(),
              u"Unable to write to "_s + iniPath());
    EXPECT_EQ(ReadWholeFile(iniPath()), QByteArray("[Paths]\nDefaultDir=/safe\n"));
}

TEST_F(SettingsTest, MissingDefaultDirFallsBackToHome) {
    Prefs prefs{m_temp.path(), QString()};
    EXPECT_FALSE(ReplaceMissingDefaultDir(prefs));
    EXPECT_EQ(prefs.DefaultDir, m_temp.path());
    prefs.DefaultDir = m_temp.path(u"gone"_s);
    EXPECT_TRUE(ReplaceMissingDefaultDir(prefs));
    EXPECT_EQ(prefs.DefaultDir, DefaultFolder());
}

TEST_F(SettingsTest, FileLivesBesideTheProgramWhenThatFolderIsWritable) {
    const QString besideIt = m_temp.path(u"sorvane.ini"_s);
    const QString cfg = u"/cfg"_s;
    EXPECT_EQ(SettingsFilePath(m_temp.path(u"sorvane"_s), cfg), besideIt);
    // A folder that does not exist (so cannot be written): the configuration folder.
    EXPECT_EQ(SettingsFilePath(m_temp.path(u"gone/sorvane"_s), cfg), u"/cfg/Sorvane/sorvane.ini"_s);
}

// Stored placements against two screens side by side (the right one shorter, with a task bar
// at its top): extreme values are refused without overflowing, and a window that is even
// partly on a screen is kept.
TEST(WindowPlacementSanity, OnlyPlacementsWithinTheDesktopAndOnAScreen) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(1920, 40, 1280, 984)};
    // {state, top, left, width, height}, and whether the placement is sane.
    const std::pair<WindowPlacement, bool> cases[] = {
        {{0, 100, 2000, 900, 600}, true},    // on the second screen
        {{0, -500, -800, 823, 589}, true},   // a corner still on the first screen
        {{0, 0, 0, 3200, 1040}, true},       // the whole desktop
        {{0, 0, 0, 3201, 600}, false},       // wider than the desktop
        {{0, 0, 0, 600, 1041}, false},       // taller than the desktop
        {{0, 0, 0, INT_MAX, 589}, false},    // Width=2147483647
        {{0, 0, 0, INT_MIN, 589}, false},    // Width=-2147483648
        {{0, 10, INT_MAX, 823, 589}, false}, // Left=2147483647
        {{0, 0, 3200, 823, 589}, false},     // just right of every screen
        {{0, 0, 1920, 823, 40}, false},      // above the second screen's available area
        {{0, 10, -823, 823, 589}, false},    // just left of the first screen
        {{0, 1040, 10, 823, 589}, false},    // just below the first screen
    };
    for (const auto& [p, sane] : cases) {
        EXPECT_EQ(IsSanePlacement(p, screens), sane)
            << p.left << "," << p.top << " " << p.width << "x" << p.height;
    }
    EXPECT_FALSE(IsSanePlacement(WindowPlacement{0, 10, 10, 823, 589}, {}));
}

// The page installed beside the program's share folder wins over the source tree of a build
// folder; a missing page gives the installed path.
TEST_F(SettingsTest, LocalPageInstalledSourceTreeOrInstalledPath) {
    QStandardPaths::setTestModeEnabled(true); // no page of this machine's own
    const QString debug = m_temp.path(u"src/build/debug"_s);
    ASSERT_TRUE(m_files.makeFolder(u"src/build/debug"_s) && m_files.makeFolder(u"opt/bin"_s));
    ASSERT_TRUE(m_files.writeFile(u"src/docs/help/index.html"_s, "<html></html>"));
    EXPECT_EQ(FindLocalPage(debug, u"help"_s), m_temp.path(u"src/docs/help/index.html"_s));
    ASSERT_TRUE(m_files.writeFile(u"src/build/share/sorvane/help/index.html"_s, "<html></html>"));
    EXPECT_EQ(FindLocalPage(debug, u"help"_s),
              m_temp.path(u"src/build/share/sorvane/help/index.html"_s));
    EXPECT_EQ(FindLocalPage(m_temp.path(u"opt/bin"_s), u"home"_s),
              m_temp.path(u"opt/share/sorvane/home/index.html"_s));
    QStandardPaths::setTestModeEnabled(false);
}
