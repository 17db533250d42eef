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
    EXPECT_FALSE(QFileInfo::exists(link('x')));
    EXPECT_EQ(m_drives.driveOfPath(folder()), QChar(u'C'));
    EXPECT_TRUE(QFileInfo(folder()).isDir()); // the folder itself stays

    // A link left from before is replaced.
    ASSERT_TRUE(QFile::link(m_temp.path(QStringLiteral("Backups")), link('y')));
    EXPECT_TRUE(m_virtual.SubstCreate(u'Y', folder()));
    EXPECT_EQ(QFileInfo(link('y')).symLinkTarget(), QFileInfo(folder()).absoluteFilePath());
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
    ASSERT_TRUE(CardFixture(prefix()).writeFile(QStringLiteral("dosdevices/v:"), "keep"));
    for (const char letter : {'w', 'v'}) {
        SCOPED_TRACE(letter);
        const QChar upper = QChar(QLatin1Char(letter)).toUpper();
        m_virtual.SubstDelete(upper);
        EXPECT_FALSE(m_virtual.SubstCreate(upper, folder()));
        EXPECT_FALSE(m_drives.drives().contains(upper)) << "the drive table is left as it was";
        m_virtual.SubstDelete(upper);
        EXPECT_FALSE(QFileInfo(link(letter)).isSymLink());
    }
    EXPECT_TRUE(QFileInfo(link('w') + QStringLiteral("/Roland/BR0")).isDir());
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
    const struct {
        const char* folder;
        QChar excluded;
        QString expected;
    } cases[] = {
        {"/", QChar(), QStringLiteral("Z:\\")},
        {"", QChar(), z},
        {"card", QChar(), QStringLiteral("E:\\")},
        {"card/Roland", QChar(), QStringLiteral("E:\\Roland")},
        {"card/Roland", u'e', z + QStringLiteral("\\card\\Roland")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(WineWindowsPath(temp.path(QStringLiteral("wine")),
                                  QDir(temp.path()).filePath(QLatin1String(c.folder)), c.excluded),
                  c.expected);
    }
    // Without a drive entry covering it, the folder is handed over as it is.
    EXPECT_EQ(WineWindowsPath(temp.path(QStringLiteral("none")), QStringLiteral("/tmp/a b")),
              QStringLiteral("/tmp/a b"));
}
