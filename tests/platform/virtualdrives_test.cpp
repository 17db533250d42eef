#include "platform/fakedrives.h"
#include "platform/virtualdrives.h"
#include "platform/wineprefix.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// A Wine prefix and a backup folder in a temporary folder, with the drive table of the
// root file system.
class VirtualDrivesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(m_temp.path(QStringLiteral("Backups/Song 1"))));
        FakeDrive system;
        system.letter = u'C';
        system.root = QStringLiteral("/");
        m_drives.setDrive(system);
    }
    QString prefix() const { return m_temp.path(QStringLiteral("wine")); }
    QString folder() const { return m_temp.path(QStringLiteral("Backups/Song 1")); }
    QString link(char letter) const {
        return prefix() + QStringLiteral("/dosdevices/") + QLatin1Char(letter) + u':';
    }

    TempFolder m_temp;
    FakeDrives m_drives;
    VirtualDrives m_virtual{m_drives, m_temp.path(QStringLiteral("wine"))};
};

} // namespace

TEST_F(VirtualDrivesTest, CreateLinksTheLetterAndDeleteRemovesBoth) {
    EXPECT_TRUE(m_virtual.SubstCreate(u'X', folder()));
    // The prefix did not exist: its drive folder is made, the entry named in lower case.
    EXPECT_TRUE(QFileInfo(link('x')).isSymLink());
    EXPECT_EQ(QFileInfo(link('x')).symLinkTarget(), QFileInfo(folder()).absoluteFilePath());
    EXPECT_EQ(m_drives.driveOfPath(folder()), QChar(u'X'));
    EXPECT_EQ(m_drives.rootOf(u'X'), QDir(folder()).canonicalPath() + u'/');

    m_virtual.SubstDelete(u'x');
    EXPECT_FALSE(QFileInfo(link('x')).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(link('x')));
    EXPECT_EQ(m_drives.driveOfPath(folder()), QChar(u'C'));
    EXPECT_TRUE(QFileInfo(folder()).isDir()); // the folder itself stays
}

TEST_F(VirtualDrivesTest, CreateReplacesAnOldLink) {
    ASSERT_TRUE(QDir().mkpath(prefix() + QStringLiteral("/dosdevices")));
    ASSERT_TRUE(QFile::link(m_temp.path(QStringLiteral("Backups")), link('y')));
    EXPECT_TRUE(m_virtual.SubstCreate(u'Y', folder()));
    EXPECT_EQ(QFileInfo(link('y')).symLinkTarget(), QFileInfo(folder()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(m_temp.path(QStringLiteral("Backups"))).isDir());
}

TEST_F(VirtualDrivesTest, LettersThatAreNotAlphabeticDoNothing) {
    for (const QChar letter : {QChar(), QChar(u'0'), QChar(u':'), QChar(u'/'), QChar(u'\u00e9')}) {
        SCOPED_TRACE(static_cast<int>(letter.unicode()));
        EXPECT_FALSE(m_virtual.SubstCreate(letter, folder()));
        m_virtual.SubstDelete(letter);
        EXPECT_FALSE(QFileInfo::exists(prefix())) << "nothing is made in the prefix";
        EXPECT_EQ(m_drives.drives(), QList<QChar>{u'C'});
    }
}

TEST_F(VirtualDrivesTest, EntriesThatAreNoLinksAreLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(link('w') + QStringLiteral("/Roland/BR0")));
    QFile file(link('v'));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write("keep"), 4);
    file.close();
    for (const char letter : {'w', 'v'}) {
        SCOPED_TRACE(letter);
        const QChar upper = QChar(QLatin1Char(letter)).toUpper();
        m_virtual.SubstDelete(upper);
        EXPECT_FALSE(m_virtual.SubstCreate(upper, folder()));
        EXPECT_FALSE(m_drives.drives().contains(upper)) << "the drive table is left as it was";
        m_virtual.SubstDelete(upper);
        EXPECT_TRUE(QFileInfo::exists(link(letter)));
        EXPECT_FALSE(QFileInfo(link(letter)).isSymLink());
    }
    EXPECT_TRUE(QFileInfo(link('w') + QStringLiteral("/Roland/BR0")).isDir());
    EXPECT_EQ(ReadWholeFile(link('v')), QByteArray("keep"));
}

TEST_F(VirtualDrivesTest, ALetterTheDriveTableHoldsIsNotLinked) {
    FakeDrive card;
    card.letter = u'E';
    card.root = m_temp.path(QStringLiteral("Backups"));
    m_drives.setDrive(card);
    EXPECT_FALSE(m_virtual.SubstCreate(u'E', folder()));
    EXPECT_FALSE(QFileInfo(link('e')).isSymLink());
}

TEST(WinePrefix, PrefixFromEnvironmentOrHome) {
    TempFolder home;
    const ScopedEnv homeEnv("HOME", home.path().toLocal8Bit().constData());
    {
        const ScopedEnv prefix("WINEPREFIX", "/opt/prefix");
        EXPECT_EQ(WinePrefixPath(), QStringLiteral("/opt/prefix"));
    }
    const ScopedEnv prefix("WINEPREFIX", nullptr);
    EXPECT_EQ(WinePrefixPath(), home.path() + QStringLiteral("/.wine"));
    EXPECT_EQ(WineDriveLinkPath(QStringLiteral("/p"), u'Q'), QStringLiteral("/p/dosdevices/q:"));
}

TEST(WinePrefix, FoldersAsWindowsProgramsSeeThem) {
    TempFolder temp;
    const QString real = QDir(temp.path()).canonicalPath();
    const QString devices = temp.path(QStringLiteral("wine/dosdevices"));
    ASSERT_TRUE(QDir().mkpath(devices));
    ASSERT_TRUE(QDir().mkpath(temp.path(QStringLiteral("media/card/Roland"))));
    ASSERT_TRUE(QDir().mkpath(temp.path(QStringLiteral("Backups/Song 1"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/"), devices + QStringLiteral("/z:")));
    ASSERT_TRUE(
        QFile::link(temp.path(QStringLiteral("media/card")), devices + QStringLiteral("/e:")));
    ASSERT_TRUE(
        QFile::link(temp.path(QStringLiteral("Backups/Song 1")), devices + QStringLiteral("/x:")));
    ASSERT_TRUE(QFile::link(temp.path(QStringLiteral("gone")), devices + QStringLiteral("/g:")));
    ASSERT_TRUE(QFile::link(temp.path(QStringLiteral("media")), devices + QStringLiteral("/d::")));
    QString zPath = real;
    zPath.replace(u'/', u'\\');
    const QString prefix = temp.path(QStringLiteral("wine"));
    const struct {
        QString folder;
        QChar excluded;
        QString expected;
    } cases[] = {
        {QStringLiteral("/"), QChar(), QStringLiteral("Z:\\")},
        {temp.path(QStringLiteral("Backups/Song 1")), u'X',
         QStringLiteral("Z:") + zPath + QStringLiteral("\\Backups\\Song 1")},
        {temp.path(QStringLiteral("Backups/Song 1")), QChar(), QStringLiteral("X:\\")},
        {temp.path(QStringLiteral("media/card")), u'x', QStringLiteral("E:\\")},
        {temp.path(QStringLiteral("media/card/Roland")), QChar(), QStringLiteral("E:\\Roland")},
        {temp.path(QStringLiteral("media")), QChar(),
         QStringLiteral("Z:") + zPath + QStringLiteral("\\media")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        EXPECT_EQ(WineWindowsPath(prefix, c.folder, c.excluded), c.expected);
    }
    // Without a drive entry covering it, the folder is handed over as it is.
    EXPECT_EQ(WineWindowsPath(temp.path(QStringLiteral("none")), QStringLiteral("/tmp/a b")),
              QStringLiteral("/tmp/a b"));
}

TEST(WinePrefix, WindowsProgramsGoThroughWineOnPath) {
    TempFolder temp;
    const QString bin = temp.path(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    QFile wine(bin + QStringLiteral("/wine"));
    ASSERT_TRUE(wine.open(QIODevice::WriteOnly));
    wine.write("#!/bin/sh\n");
    wine.close();
    ASSERT_TRUE(wine.setPermissions(wine.permissions() | QFile::ExeOwner));
    const QString converter = temp.path(QStringLiteral("BRWC/BR Wave Converter.EXE"));
    {
        const ScopedEnv path("PATH", bin.toLocal8Bit().constData());
        const auto command = ProgramCommand(converter, QStringLiteral("/p"));
        ASSERT_TRUE(command);
        EXPECT_EQ(command->program, bin + QStringLiteral("/wine"));
        EXPECT_EQ(command->arguments, QStringList{converter});
        EXPECT_EQ(command->workingDirectory, temp.path(QStringLiteral("BRWC")));
        const QList<QPair<QString, QString>> environment{
            {QStringLiteral("WINEPREFIX"), QStringLiteral("/p")}};
        EXPECT_EQ(command->environment, environment);

        // Any other program starts directly, with no arguments of its own.
        const auto native =
            ProgramCommand(temp.path(QStringLiteral("BRWC/convert.sh")), QStringLiteral("/p"));
        ASSERT_TRUE(native);
        EXPECT_EQ(native->program, temp.path(QStringLiteral("BRWC/convert.sh")));
        EXPECT_TRUE(native->arguments.isEmpty());
        EXPECT_TRUE(native->environment.isEmpty());
    }
    const ScopedEnv path("PATH", temp.path(QStringLiteral("empty")).toLocal8Bit().constData());
    EXPECT_FALSE(ProgramCommand(converter, QStringLiteral("/p")));
    EXPECT_FALSE(ProgramCommand(temp.path(QStringLiteral("c.exe")), QStringLiteral("/p")));
    EXPECT_TRUE(ProgramCommand(temp.path(QStringLiteral("c.exe.sh")), QStringLiteral("/p")));
}
