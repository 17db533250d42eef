#include "app/core/settings.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

using Fields = std::tuple<int, int, int, int, int>;
Fields FieldsOf(const WindowPlacement& p) {
    return {p.windowState, p.top, p.left, p.width, p.height};
}

class SettingsTest : public ::testing::Test {
protected:
    QString iniPath() const { return m_temp.path(u"sorvane.ini"_s); }
    WindowPlacement current() const { return {0, 120, 130, 823, 589}; }
    QString unableToWrite() const { return u"Unable to write to "_s + iniPath(); }

    TempFolder m_temp;
};

} // namespace

TEST_F(SettingsTest, FirstRunReadsDefaultsAndFirstCloseCreatesBothSections) {
    const SettingsFile file(m_temp.path(u"sub/dir/sorvane.ini"_s));
    const SettingsFile::PathSettings loaded = file.loadPathSettings();
    EXPECT_EQ(loaded.prefs.DefaultDir, QDir::toNativeSeparators(QDir::homePath()));
    EXPECT_TRUE(loaded.prefs.WaveConverter.isEmpty());
    EXPECT_EQ(std::pair(loaded.top, loaded.left), std::pair(10, 10));
    EXPECT_EQ(FieldsOf(file.readPlacement(current())), FieldsOf(current()));
    EXPECT_FALSE(QFile::exists(file.path()));

    ASSERT_FALSE(
        file.saveAtClose({u"/home/me/BR"_s, QString()}, {0, 40, 50, 823, 589}).has_value());
    EXPECT_EQ(ReadWholeFile(file.path()),
              QByteArray("[Paths]\nDefaultDir=/home/me/BR\nWaveConverter=\n\n"
                         "[MainForm]\nWindowState=0\nTop=40\nLeft=50\nWidth=823\nHeight=589\n"));
    EXPECT_EQ(file.loadPathSettings().prefs.DefaultDir, u"/home/me/BR"_s);
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
        ASSERT_TRUE(WriteFile(iniPath(), "[MainForm]\n" + lines));
        EXPECT_EQ(FieldsOf(SettingsFile(iniPath()).readPlacement(current())), expected)
            << lines.data();
    }
    const SettingsFile::PathSettings loaded = SettingsFile(iniPath()).loadPathSettings();
    EXPECT_EQ(std::pair(loaded.top, loaded.left), std::pair(32, 16));
}

// Closing minimised or maximised keeps the stored geometry; foreign sections and comments stay.
TEST_F(SettingsTest, OnlyTheNormalStateWritesGeometryAtClose) {
    for (int state : {1, 2}) {
        ASSERT_TRUE(WriteFile(iniPath(), "; mine\n[MainForm]\nWindowState=0\nTop=1\nLeft=2\n"
                                         "Width=300\nHeight=200\n[Plugins]\nlist=a,b\n"));
        ASSERT_FALSE(SettingsFile(iniPath())
                         .saveAtClose({u"/d"_s, u"/w"_s}, {state, 0, 0, 1920, 1080})
                         .has_value());
        EXPECT_EQ(ReadWholeFile(iniPath()),
                  "; mine\n[MainForm]\nWindowState=" + QByteArray::number(state) +
                      "\nTop=1\nLeft=2\nWidth=300\nHeight=200\n[Plugins]\nlist=a,b\n\n"
                      "[Paths]\nDefaultDir=/d\nWaveConverter=/w\n");
    }
}

TEST_F(SettingsTest, PreferencesWriteTopAndLeftWhateverTheState) {
    ASSERT_TRUE(WriteFile(iniPath(), "[MainForm]\r\nWindowState=2\r\nTop=1\r\nWidth=300\r\n"));
    const SettingsFile file(iniPath());
    ASSERT_FALSE(file.saveAfterPreferences({u"/b"_s, QString()}, 33, 44).has_value());
    EXPECT_EQ(ReadWholeFile(iniPath()),
              QByteArray("[MainForm]\r\nWindowState=2\r\nTop=33\r\nWidth=300\r\nLeft=44\r\n\r\n"
                         "[Paths]\r\nDefaultDir=/b\r\nWaveConverter=\r\n"));
}

// A folder name with a line break is not written; nor is anything when a folder stands where
// the file should be.
TEST_F(SettingsTest, FailedWritesReportThePathAndChangeNothing) {
    ASSERT_TRUE(WriteFile(iniPath(), "[Paths]\nDefaultDir=/safe\n"));
    const SettingsFile file(iniPath());
    const IniWriteError none{QString()};
    EXPECT_EQ(file.saveAtClose({u"/a\n[MainForm]\nTop=1"_s, QString()}, current())
                  .value_or(none)
                  .message(),
              unableToWrite());
    EXPECT_EQ(ReadWholeFile(iniPath()), QByteArray("[Paths]\nDefaultDir=/safe\n"));
    ASSERT_TRUE(QFile::remove(iniPath()) && QDir(m_temp.path()).mkdir(u"sorvane.ini"_s));
    EXPECT_EQ(file.saveAtClose({u"/d"_s, QString()}, current()).value_or(none).message(),
              unableToWrite());
    EXPECT_EQ(file.saveAfterPreferences({}, 1, 1).value_or(none).message(), unableToWrite());
}

TEST_F(SettingsTest, MissingDefaultDirFallsBackToHome) {
    Prefs prefs{m_temp.path(), QString()};
    EXPECT_FALSE(ReplaceMissingDefaultDir(prefs));
    EXPECT_EQ(prefs.DefaultDir, m_temp.path());
    for (const QString& missing : {m_temp.path(u"gone"_s), QString()}) {
        prefs.DefaultDir = missing;
        EXPECT_TRUE(ReplaceMissingDefaultDir(prefs));
        EXPECT_EQ(prefs.DefaultDir, DefaultFolder());
    }
}

TEST_F(SettingsTest, FileLivesBesideTheProgramWhenThatFolderIsWritable) {
    const QString besideIt = m_temp.path(u"sorvane.ini"_s);
    const QString cfg = u"/cfg"_s;
    EXPECT_EQ(SettingsFilePath(m_temp.path(u"sorvane"_s), cfg), besideIt);
    EXPECT_EQ(SettingsFilePath(m_temp.path(u"sorvane.bin"_s), cfg), besideIt);
    // A folder that does not exist (so cannot be written): the configuration folder.
    EXPECT_EQ(SettingsFilePath(m_temp.path(u"gone/sorvane"_s), cfg), u"/cfg/Sorvane/sorvane.ini"_s);
    EXPECT_EQ(VersionLabelText(), u"Version 1.05"_s);
}
