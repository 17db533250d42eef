#include "platform/fakedrives.h"
#include "platform/virtualdrives.h"
#include "platform/wineprefix.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A Wine prefix and a backup folder in a temporary folder, with the drive table of the
// root file system.
class VirtualDrivesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(folder()));
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

// Letters that are not alphabetic do nothing. The prefix did not exist: its drive folder is
// made, the entry named in lower case. Delete removes link and letter but not the folder; a
// link left from before is replaced; entries that are no links are left alone.
TEST_F(VirtualDrivesTest, OnlyLinksAreMadeReplacedOrRemoved) {
    for (const QChar letter : {QChar(), QChar(u':'), QChar(u'\u00e9')}) {
        EXPECT_FALSE(m_virtual.SubstCreate(letter, folder())) << int(letter.unicode());
        m_virtual.SubstDelete(letter);
    }
    EXPECT_FALSE(QFileInfo::exists(prefix())) << "nothing is made in the prefix";
    EXPECT_EQ(m_drives.drives(), QList<QChar>{u'C'});

    EXPECT_TRUE(m_virtual.SubstCreate(u'X', folder())); // the link itself: see the Wave window
    EXPECT_EQ(m_drives.rootOf(u'X'), QDir(folder()).canonicalPath() + u'/');
    m_virtual.SubstDelete(u'x');
    EXPECT_FALSE(QFileInfo::exists(link('x')));
    EXPECT_EQ(m_drives.driveOfPath(folder()), QChar(u'C'));
    ASSERT_TRUE(QFile::link(m_temp.path(QStringLiteral("Backups")), link('y')));
    EXPECT_TRUE(m_virtual.SubstCreate(u'Y', folder()));
    EXPECT_EQ(QFileInfo(link('y')).symLinkTarget(), QFileInfo(folder()).absoluteFilePath());

    ASSERT_TRUE(QDir().mkpath(link('w') + QStringLiteral("/Roland")));
    ASSERT_TRUE(CardFixture(prefix()).writeFile(QStringLiteral("dosdevices/v:"), "keep"));
    for (const QChar letter : {u'W', u'V'}) {
        m_virtual.SubstDelete(letter);
        EXPECT_FALSE(m_virtual.SubstCreate(letter, folder()));
        EXPECT_FALSE(m_drives.drives().contains(letter)) << "the drive table is left as it was";
        m_virtual.SubstDelete(letter);
    }
    EXPECT_TRUE(QFileInfo(link('w') + QStringLiteral("/Roland")).isDir());
    EXPECT_EQ(ReadWholeFile(link('v')), QByteArray("keep"));
}

TEST(WinePrefix, FoldersAsWindowsProgramsSeeThem) {
    TempFolder temp;
    const QString devices = temp.path(QStringLiteral("wine/dosdevices/"));
    ASSERT_TRUE(QDir().mkpath(devices));
    ASSERT_TRUE(QDir().mkpath(temp.path(QStringLiteral("card/Roland"))));
    // Wine's z: for "/", a card as e:, a dangling entry and a raw-device entry ("d::").
    for (const auto& [target, name] :
         {std::pair{"/", "z:"}, {"card", "e:"}, {"gone", "g:"}, {"card/Roland", "d::"}})
        ASSERT_TRUE(QFile::link(QDir(temp.path()).filePath(QLatin1String(target)),
                                devices + QLatin1String(name)));
    QString z = QStringLiteral("Z:") + QDir(temp.path()).canonicalPath();
    z.replace(u'/', u'\\');
    const std::pair<const char*, QString> cases[] = {
        {"/", QStringLiteral("Z:\\")},
        {"", z},
        {"card", QStringLiteral("E:\\")},
        {"card/Roland", QStringLiteral("E:\\Roland")},
    };
    for (const auto& [folder, expected] : cases)
        EXPECT_EQ(WineWindowsPath(temp.path(QStringLiteral("wine")),
                                  QDir(temp.path()).filePath(QLatin1String(folder))),
                  expected);
    // Without a drive entry covering it, the folder is handed over as it is.
    EXPECT_EQ(WineWindowsPath(temp.path(QStringLiteral("none")), QStringLiteral("/tmp/a b")),
              QStringLiteral("/tmp/a b"));
}
