#include "platform/linuxdrives.h"

#include "support/cardtest.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

// The drive table on this machine's own mounts.
TEST(LinuxDrivesOnThisMachine, RootFileSystemIsDriveCFixedAndReady) {
    LinuxDrives drives;
    const QList<QChar> letters = drives.drives();
    ASSERT_TRUE(letters.contains(u'C'));
    EXPECT_EQ(drives.rootOf(u'C'), QStringLiteral("/"));
    EXPECT_EQ(drives.driveType(u'C'), DriveType::Fixed);
    EXPECT_TRUE(drives.isReady(u'C'));
    const auto bytes = drives.byteSpace(u'C');
    ASSERT_TRUE(bytes);
    EXPECT_GT(bytes->totalBytes, 0);
    EXPECT_GE(bytes->totalBytes, bytes->freeBytes);
    const auto clusters = drives.clusterSpace(u'C');
    ASSERT_TRUE(clusters);
    EXPECT_EQ(clusters->totalClusters * clusters->sectorsPerCluster * clusters->bytesPerSector,
              static_cast<std::uint64_t>(bytes->totalBytes));
    EXPECT_TRUE(drives.volumeInfo(u'C'));
    // Letters come ascending and never below C.
    EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end()));
    EXPECT_GE(letters.first(), QChar(u'C'));
}

TEST(LinuxDrivesOnThisMachine, LetterWithoutVolumeIsNoSuchDrive) {
    LinuxDrives drives;
    const QList<QChar> letters = drives.drives();
    QList<QChar> free = {u'A', u'B'};
    for (char16_t c = u'Z'; c >= u'D'; --c) {
        if (!letters.contains(QChar(c))) {
            free.append(QChar(c));
            break;
        }
    }
    for (const QChar letter : free) {
        SCOPED_TRACE(QString(letter).toStdString());
        EXPECT_EQ(drives.driveType(letter), DriveType::NoSuchDrive);
        EXPECT_FALSE(drives.volumeInfo(letter));
        EXPECT_FALSE(drives.isReady(letter));
        EXPECT_FALSE(drives.byteSpace(letter));
        EXPECT_TRUE(drives.rootOf(letter).isEmpty());
    }
    EXPECT_EQ(drives.driveType(u'1'), DriveType::NoSuchDrive);
}

TEST(LinuxDrivesOnThisMachine, FolderBelongsToAVolume) {
    LinuxDrives drives;
    TempFolder temp;
    const QChar letter = drives.driveOfPath(temp.path());
    ASSERT_FALSE(letter.isNull());
    EXPECT_TRUE(QDir(temp.path()).canonicalPath().startsWith(drives.rootOf(letter)));
    EXPECT_EQ(drives.driveOfPath(QStringLiteral("/")), u'C');
}

TEST(ParseMountInfo, KeepsBlockDevicesInMountOrderAndDecodesEscapes) {
    const QByteArray text =
        "21 26 0:20 / /proc rw,relatime shared:12 - proc proc rw\n"
        "26 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "not a mount line\n"
        "40 26 8:17 / /media/u/MY\\040CARD rw shared:30 master:2 - vfat /dev/sdb1 rw\n"
        "41 26 8:33 / /mnt/back\\134slash rw - ext4 /dev/sdc1 rw\n"
        "42 26 0:50 / /net rw - nfs4 server:/export rw\n"
        "43 26 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
        "44 26 0:51 / /run/user rw - tmpfs /dev/fake rw\n";
    const QList<MountedVolume> volumes = ParseMountInfo(text);
    ASSERT_EQ(volumes.size(), 3);
    EXPECT_EQ(volumes[0].mountPoint, QStringLiteral("/"));
    EXPECT_EQ(volumes[1].mountPoint, QStringLiteral("/media/u/MY CARD"));
    EXPECT_EQ(volumes[1].mountId, 40);
    EXPECT_EQ(volumes[1].device, QStringLiteral("8:17"));
    EXPECT_EQ(volumes[1].fileSystem, QStringLiteral("vfat"));
    EXPECT_EQ(volumes[1].source, QStringLiteral("/dev/sdb1"));
    EXPECT_EQ(volumes[2].mountPoint, QStringLiteral("/mnt/back\\slash"));
}

TEST(ParseMountInfo, LeavesOutBindMountsAndHiddenMounts) {
    const QByteArray text = "26 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                            "40 26 8:17 / /media/card rw - vfat /dev/sdb1 rw\n"
                            "41 26 8:17 /Roland /home/u/roland rw - vfat /dev/sdb1 rw\n"
                            "42 26 8:17 / /home/u/card-again rw - vfat /dev/sdb1 rw\n"
                            "43 26 8:1 / /srv/rootbind rw - ext4 /dev/sda1 rw\n"
                            "44 26 8:33 / /data rw - ext4 /dev/sdc1 rw\n"
                            "45 44 0:60 / /data rw - tmpfs tmpfs rw\n"
                            "46 26 8:49 / /docs rw - ext4 /dev/sdd1 rw\n";
    const QList<MountedVolume> volumes = ParseMountInfo(text);
    QStringList points;
    for (const MountedVolume& v : volumes)
        points.append(v.mountPoint);
    EXPECT_EQ(points, (QStringList{QStringLiteral("/"), QStringLiteral("/media/card"),
                                   QStringLiteral("/docs")}));
}

TEST(ParseMountInfo, OverlayRootIsStillTheRoot) {
    const QList<MountedVolume> volumes =
        ParseMountInfo("500 400 0:30 / / rw - overlay overlay rw,lowerdir=/x\n");
    ASSERT_EQ(volumes.size(), 1);
    EXPECT_EQ(volumes[0].mountPoint, QStringLiteral("/"));
}
