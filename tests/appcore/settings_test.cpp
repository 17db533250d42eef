#include "app/core/settings.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class SettingsTest : public ::testing::Test {
protected:
    QString iniPath() const { return m_temp.path(QStringLiteral("sorvane.ini")); }
    WindowPlacement current() const { return {0, 120, 130, 823, 589}; }

    TempFolder m_temp;
};

} // namespace

TEST_F(SettingsTest, FirstRunReadsDefaults) {
    const SettingsFile file(iniPath());
    const SettingsFile::PathSettings loaded = file.loadPathSettings();
    EXPECT_EQ(loaded.prefs.DefaultDir, QDir::toNativeSeparators(QDir::homePath()));
    EXPECT_TRUE(loaded.prefs.WaveConverter.isEmpty());
    EXPECT_EQ(loaded.top, 10);
    EXPECT_EQ(loaded.left, 10);

    const WindowPlacement placement = file.readPlacement(current());
    EXPECT_EQ(placement.windowState, 0);
    EXPECT_EQ(placement.top, 120);
    EXPECT_EQ(placement.left, 130);
    EXPECT_EQ(placement.width, 823);
    EXPECT_EQ(placement.height, 589);
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(SettingsTest, FirstCloseCreatesBothSections) {
    const SettingsFile file(iniPath());
    const Prefs prefs{QStringLiteral("/home/me/BR"), QString()};
    ASSERT_FALSE(file.saveAtClose(prefs, {0, 40, 50, 823, 589}).has_value());
    EXPECT_EQ(ReadWholeFile(iniPath()),
              QByteArray("[Paths]\nDefaultDir=/home/me/BR\nWaveConverter=\n\n"
                         "[MainForm]\nWindowState=0\nTop=40\nLeft=50\nWidth=823\nHeight=589\n"));
    const SettingsFile::PathSettings loaded = file.loadPathSettings();
    EXPECT_EQ(loaded.prefs.DefaultDir, QStringLiteral("/home/me/BR"));
    EXPECT_EQ(loaded.top, 40);
    EXPECT_EQ(loaded.left, 50);
}

TEST_F(SettingsTest, HexadecimalAndBadIntegers) {
    ASSERT_TRUE(WriteFile(iniPath(), "[MainForm]\nWindowState=0x0\nTop=$20\nLeft=0X10\n"
                                     "Width=wide\nHeight=0x190\n"));
    const SettingsFile file(iniPath());
    const WindowPlacement placement = file.readPlacement(current());
    EXPECT_EQ(placement.windowState, 0);
    EXPECT_EQ(placement.top, 32);
    EXPECT_EQ(placement.left, 16);
    EXPECT_EQ(placement.width, 823); // not a number: the current value
    EXPECT_EQ(placement.height, 400);
    EXPECT_EQ(file.loadPathSettings().top, 32);
}

TEST_F(SettingsTest, MaximisedWindowLeavesGeometryUnreadAndUnwritten) {
    ASSERT_TRUE(WriteFile(iniPath(), "[MainForm]\nWindowState=2\nTop=1\nLeft=2\nWidth=300\n"
                                     "Height=200\n"));
    const SettingsFile file(iniPath());
    const WindowPlacement placement = file.readPlacement(current());
    EXPECT_EQ(placement.windowState, 2);
    EXPECT_EQ(placement.top, 120);
    EXPECT_EQ(placement.width, 823);

    ASSERT_FALSE(
        file.saveAtClose({QStringLiteral("/d"), QStringLiteral("/w")}, {2, 0, 0, 1920, 1080})
            .has_value());
    EXPECT_EQ(ReadWholeFile(iniPath()),
              QByteArray("[MainForm]\nWindowState=2\nTop=1\nLeft=2\nWidth=300\nHeight=200\n\n"
                         "[Paths]\nDefaultDir=/d\nWaveConverter=/w\n"));
}

TEST_F(SettingsTest, UnknownWindowStateReadsAsCurrent) {
    ASSERT_TRUE(WriteFile(iniPath(), "[MainForm]\nWindowState=7\nTop=1\n"));
    const WindowPlacement placement = SettingsFile(iniPath()).readPlacement(current());
    EXPECT_EQ(placement.windowState, 0);
    EXPECT_EQ(placement.top, 1);
}

TEST_F(SettingsTest, PreferencesWriteTopAndLeftWhateverTheState) {
    ASSERT_TRUE(WriteFile(iniPath(), "[MainForm]\r\nWindowState=2\r\nTop=1\r\nWidth=300\r\n"));
    const SettingsFile file(iniPath());
    ASSERT_FALSE(file.saveAfterPreferences({QStringLiteral("/b"), QString()}, 33, 44).has_value());
    EXPECT_EQ(ReadWholeFile(iniPath()),
              QByteArray("[MainForm]\r\nWindowState=2\r\nTop=33\r\nWidth=300\r\nLeft=44\r\n\r\n"
                         "[Paths]\r\nDefaultDir=/b\r\nWaveConverter=\r\n"));
}

TEST_F(SettingsTest, ForeignSectionsAndCommentsSurviveAClose) {
    const QByteArray before = "; Sorvane settings\r\n[Paths]\r\nDefaultDir=/old\r\n"
                              "Theme=dark\r\n\r\n[Plugins]\r\nlist=a,b\r\n";
    ASSERT_TRUE(WriteFile(iniPath(), before));
    ASSERT_FALSE(SettingsFile(iniPath())
                     .saveAtClose({QStringLiteral("/new"), QString()}, {1, 5, 5, 5, 5})
                     .has_value());
    EXPECT_EQ(ReadWholeFile(iniPath()),
              QByteArray("; Sorvane settings\r\n[Paths]\r\nDefaultDir=/new\r\nTheme=dark\r\n"
                         "WaveConverter=\r\n\r\n[Plugins]\r\nlist=a,b\r\n\r\n"
                         "[MainForm]\r\nWindowState=1\r\n"));
}

TEST_F(SettingsTest, UnwritableFileReportsItsPath) {
    // A folder stands where the file should be.
    ASSERT_TRUE(QDir(m_temp.path()).mkdir(QStringLiteral("sorvane.ini")));
    const SettingsFile file(iniPath());
    const auto error = file.saveAtClose({QStringLiteral("/d"), QString()}, current());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), QStringLiteral("Unable to write to ") + iniPath());
    EXPECT_TRUE(file.saveAfterPreferences({}, 1, 1).has_value());
}

TEST_F(SettingsTest, FolderNameWithLineBreakIsNotWritten) {
    ASSERT_TRUE(WriteFile(iniPath(), "[Paths]\nDefaultDir=/safe\n"));
    const SettingsFile file(iniPath());
    const auto error =
        file.saveAtClose({QStringLiteral("/a\n[MainForm]\nTop=1"), QString()}, current());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), QStringLiteral("Unable to write to ") + iniPath());
    EXPECT_EQ(ReadWholeFile(iniPath()), QByteArray("[Paths]\nDefaultDir=/safe\n"));
}

TEST_F(SettingsTest, MissingDefaultDirFallsBackToHome) {
    Prefs prefs{m_temp.path(), QString()};
    EXPECT_FALSE(ReplaceMissingDefaultDir(prefs));
    EXPECT_EQ(prefs.DefaultDir, m_temp.path());
    prefs.DefaultDir = m_temp.path(QStringLiteral("gone"));
    EXPECT_TRUE(ReplaceMissingDefaultDir(prefs));
    EXPECT_EQ(prefs.DefaultDir, DefaultFolder());
    prefs.DefaultDir.clear();
    EXPECT_TRUE(ReplaceMissingDefaultDir(prefs));
    EXPECT_EQ(prefs.DefaultDir, DefaultFolder());
}

TEST_F(SettingsTest, FileLivesBesideTheProgramWhenThatFolderIsWritable) {
    const QString program = m_temp.path(QStringLiteral("sorvane"));
    EXPECT_EQ(SettingsFilePath(program, QStringLiteral("/cfg")),
              m_temp.path(QStringLiteral("sorvane.ini")));
    EXPECT_EQ(SettingsFilePath(m_temp.path(QStringLiteral("sorvane.bin")), QStringLiteral("/cfg")),
              m_temp.path(QStringLiteral("sorvane.ini")));
    // A folder that does not exist (so cannot be written): the configuration folder.
    EXPECT_EQ(SettingsFilePath(m_temp.path(QStringLiteral("gone/sorvane")), QStringLiteral("/cfg")),
              QStringLiteral("/cfg/Sorvane/sorvane.ini"));
}

TEST(Version, LabelText) {
    EXPECT_EQ(VersionLabelText(), QStringLiteral("Version 1.05"));
}
