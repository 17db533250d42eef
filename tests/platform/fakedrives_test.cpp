#include "platform/fakedrives.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

FakeDrive Card(QChar letter, const QString& root, const QString& label) {
    FakeDrive d;
    d.letter = letter;
    d.root = root;
    d.type = DriveType::Removable;
    d.label = label;
    d.totalBytes = 64 * 32768;
    d.freeBytes = 10 * 32768;
    return d;
}

} // namespace

TEST(FakeDrives, AnswersFromItsTable) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    FakeDrives drives({Card(u'e', tmp.path(), QStringLiteral("BOSS_BR-80"))});

    EXPECT_EQ(drives.drives(), QList<QChar>{u'E'});
    EXPECT_EQ(drives.driveType(u'E'), DriveType::Removable);
    EXPECT_EQ(drives.driveType(u'F'), DriveType::NoSuchDrive);
    ASSERT_TRUE(drives.volumeInfo(u'E'));
    EXPECT_EQ(drives.volumeInfo(u'E')->label, QStringLiteral("BOSS_BR-80"));
    const auto clusters = drives.clusterSpace(u'E');
    ASSERT_TRUE(clusters);
    EXPECT_EQ(clusters->totalClusters, 64u);
    EXPECT_EQ(clusters->freeClusters, 10u);
    EXPECT_EQ(clusters->sectorsPerCluster * clusters->bytesPerSector, 32768u);
    EXPECT_EQ(drives.byteSpace(u'E')->totalBytes, 64 * 32768);
    EXPECT_TRUE(drives.isReady(u'e'));
    EXPECT_EQ(drives.rootOf(u'E'), QDir(tmp.path()).canonicalPath() + u'/');
    EXPECT_TRUE(drives.rootOf(u'F').isEmpty());
}

TEST(FakeDrives, EmptySlotHasNoLabelNoSpaceAndIsNotReady) {
    FakeDrive slot = Card(u'F', QStringLiteral("/nonexistent/slot"), QStringLiteral("MICRO_BR"));
    slot.ready = false;
    FakeDrives drives({slot});
    EXPECT_EQ(drives.driveType(u'F'), DriveType::Removable);
    EXPECT_FALSE(drives.isReady(u'F'));
    EXPECT_FALSE(drives.volumeInfo(u'F'));
    EXPECT_FALSE(drives.clusterSpace(u'F'));
    EXPECT_FALSE(drives.byteSpace(u'F'));

    drives.drive(u'F')->ready = true;
    EXPECT_TRUE(drives.isReady(u'F'));
    drives.removeDrive(u'F');
    EXPECT_EQ(drives.driveType(u'F'), DriveType::NoSuchDrive);
}
