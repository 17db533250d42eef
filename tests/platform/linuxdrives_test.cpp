#include "platform/linuxdrives.h"
#include "platform/mountwatcher.h"

#include "support/cardtest.h"
#include "support/fakesystree.h"
#include "transfer/drivechanges.h"

#include <QCoreApplication>
#include <QDir>
#include <atomic>
#include <future>
#include <sys/stat.h>
#include <thread>

namespace {

// A sample system in a temporary folder: mountinfo, sysfs and /dev/disk/by-label as the
// kernel and udev lay them out, with mount points inside the folder so that the free-space
// query works on them.
class SampleSystem : public ::testing::Test {
protected:
    SampleSystem() : m_tree(m_temp.path()) {
        const QString ata = QStringLiteral("sys/devices/pci0000:00/ata1/block/");
        const QString usb = QStringLiteral("sys/devices/pci0000:00/usb2/2-1/block/");
        const QString mmc = QStringLiteral("sys/devices/platform/mmc_host/mmc0/block/");
        EXPECT_TRUE(AddFakeDisk(m_tree, ata, QStringLiteral("sda"), QStringLiteral("8:1"), false));
        EXPECT_TRUE(AddFakeDisk(m_tree, ata, QStringLiteral("sdb"), QStringLiteral("8:17"), true));
        EXPECT_TRUE(AddFakeDisk(m_tree, mmc, QStringLiteral("mmcblk0"), QStringLiteral("179:1"),
                                false, QStringLiteral("p1")));
        EXPECT_TRUE(AddFakeDisk(m_tree, ata, QStringLiteral("sdc"), QStringLiteral("8:33"), false));
        EXPECT_TRUE(AddFakeDisk(m_tree, usb, QStringLiteral("sdd"), QStringLiteral("8:49"), false));
        EXPECT_TRUE(AddFakeLabel(m_tree, QStringLiteral("BOSS_BR-864"), QStringLiteral("sdb1")));
        EXPECT_TRUE(
            AddFakeLabel(m_tree, QStringLiteral("MMC\\x20CARD"), QStringLiteral("mmcblk0p1")));
        EXPECT_TRUE(AddFakeLabel(m_tree, QStringLiteral("ROOT"), QStringLiteral("sda1")));
        for (const char* folder : {"media/u/BOSS_BR-864/Roland/BR0", "media/u/MMC CARD", "data"})
            EXPECT_TRUE(m_tree.makeFolder(QString::fromLatin1(folder)));
        // The USB disk's mount point is left missing: its free-space query fails.
        writeMounts({m_root, m_card, m_mmc, m_data, m_usb});
    }

    LinuxDrivesSetup setup() const {
        LinuxDrivesSetup s;
        s.procRoot = m_base + QStringLiteral("/proc");
        s.sysRoot = m_base + QStringLiteral("/sys");
        s.devRoot = m_base + QStringLiteral("/dev");
        return s;
    }

    // Mountinfo lines; "~" stands for the sample folder.
    void writeMounts(const QList<QByteArray>& lines) {
        const QByteArray text = lines.join('\n').replace('~', QFile::encodeName(m_base));
        ASSERT_TRUE(m_tree.writeFile(QStringLiteral("proc/self/mountinfo"), text));
    }

    TempFolder m_temp;
    CardFixture m_tree;
    QString m_base = QDir(m_temp.path()).canonicalPath();
    using Line = const char*;
    const Line m_root = "26 1 8:1 / / rw - ext4 /dev/sda1 rw";
    const Line m_card = "40 1 8:17 / ~/media/u/BOSS_BR-864 rw - vfat /dev/sdb1 rw";
    const Line m_mmc = "44 1 179:1 / ~/media/u/MMC\\040CARD rw - exfat /dev/mmcblk0p1 rw";
    const Line m_data = "45 1 8:33 / ~/data rw - ext4 /dev/sdc1 rw";
    const Line m_usb = "47 1 8:49 / ~/usbdisk rw - ext4 /dev/sdd1 rw";
    const Line m_other = "60 1 8:65 / ~/other rw - ext4 /dev/sde1 rw";
    const Line m_cardAgain = "61 1 8:17 / ~/card2 rw - vfat /dev/sdb1 rw";
    const Line m_tmpfs = "43 1 0:30 / ~/run rw - tmpfs tmpfs rw";
};

} // namespace

// Letters in mount order; removable by the flag, the USB bus or MMC; labels from
// /dev/disk/by-label; ready when the free-space query answers.
TEST_F(SampleSystem, DriveTable) {
    const std::tuple<char16_t, const char*, DriveType, const char*, bool> cases[] = {
        {u'C', "", DriveType::Fixed, "ROOT", true},
        {u'D', "/media/u/BOSS_BR-864/", DriveType::Removable, "BOSS_BR-864", true},
        {u'E', "/media/u/MMC CARD/", DriveType::Removable, "MMC CARD", true},
        {u'F', "/data/", DriveType::Fixed, "", true},
        {u'G', "/usbdisk/", DriveType::Removable, "", false},
    };
    LinuxDrives drives(setup());
    EXPECT_EQ(drives.drives(), (QList<QChar>{u'C', u'D', u'E', u'F', u'G'}));
    for (const auto& [letter, root, type, label, ready] : cases) {
        SCOPED_TRACE(root);
        EXPECT_EQ(drives.rootOf(letter),
                  *root ? QString(m_base + QLatin1String(root)) : QStringLiteral("/"));
        EXPECT_EQ(drives.driveType(letter), type);
        ASSERT_TRUE(drives.volumeInfo(letter));
        EXPECT_EQ(drives.volumeInfo(letter)->label, QString::fromUtf8(label));
        EXPECT_EQ(drives.isReady(letter), ready);
        EXPECT_EQ(drives.byteSpace(letter).has_value(), ready);
        EXPECT_EQ(drives.clusterSpace(letter).has_value(), ready);
    }
    EXPECT_EQ(drives.volumeInfo(u'D')->fileSystem, QStringLiteral("vfat"));
    const auto clusters = drives.clusterSpace(u'D');
    EXPECT_EQ(clusters->totalClusters * clusters->sectorsPerCluster * clusters->bytesPerSector,
              static_cast<std::uint64_t>(drives.byteSpace(u'D')->totalBytes));
    EXPECT_EQ(drives.driveType(u'B'), DriveType::NoSuchDrive);
    EXPECT_FALSE(drives.volumeInfo(u'H'));

    // A path belongs to the drive of the longest root; a virtual drive wins over its volume.
    const QString card = m_base + QStringLiteral("/media/u/BOSS_BR-864");
    EXPECT_EQ(drives.driveOfPath(card + QStringLiteral("/Roland/BR0")), u'D');
    EXPECT_EQ(drives.driveOfPath(m_base + QStringLiteral("/media/u")), u'C');

    EXPECT_FALSE(drives.registerVirtualDrive(u'D', card)); // a volume's letter
    EXPECT_FALSE(drives.registerVirtualDrive(u'Q', card + QStringLiteral("/missing")));
    ASSERT_TRUE(drives.registerVirtualDrive(u'Q', card + QStringLiteral("/Roland")));
    EXPECT_EQ(drives.driveOfPath(card + QStringLiteral("/Roland/BR0")), u'Q');
    EXPECT_EQ(drives.rootOf(u'Q'), card + QStringLiteral("/Roland/"));
    // A virtual drive answers with the volume beneath it.
    EXPECT_EQ(drives.volumeInfo(u'Q')->label, QStringLiteral("BOSS_BR-864"));
    EXPECT_TRUE(drives.removeVirtualDrive(u'Q'));
    EXPECT_EQ(drives.driveOfPath(card + QStringLiteral("/Roland/BR0")), u'D');
}

// A volume whose free-space query hangs (a dead network or a stuck reader) is not ready
// after the time bound, and while that query hangs no further one is started on it.
TEST_F(SampleSystem, HungVolumeIsNotReadyAndDoesNotPileUpQueries) {
    const QByteArray hung = QFile::encodeName(m_base + QStringLiteral("/data"));
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    auto calls = std::make_shared<std::atomic<int>>(0);
    LinuxDrivesSetup s = setup();
    s.queryTimeout = std::chrono::milliseconds(50);
    s.fsStat = [hung, released, calls](const QByteArray& path) {
        if (path == hung) {
            ++*calls;
            released.wait();
        }
        return SystemFsStat(path);
    };
    LinuxDrives drives(s);
    EXPECT_FALSE(drives.isReady(u'F'));
    EXPECT_FALSE(drives.byteSpace(u'F'));
    EXPECT_EQ(calls->load(), 1);
    EXPECT_TRUE(drives.isReady(u'D')); // other volumes still answer

    release.set_value();
    for (int i = 0; i < 1000 && !drives.isReady(u'F'); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(drives.isReady(u'F'));
    EXPECT_GE(calls->load(), 2);
}

// The watcher on the sample table: at each moment the letters added ("+E") and removed
// ("-E"), and one announcement exactly when the drive table changes. A card mounted again
// and a new disk take the lowest free letters; a virtual drive's letter is never taken.
TEST_F(SampleSystem, TableChangingUnderTheWatcher) {
    static int argc = 1; // the socket notifier wants an event dispatcher
    static char* argv[] = {const_cast<char*>("test_platform"), nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv); // lives until the process ends
    writeMounts({m_root, m_data});
    LinuxDrives drives(setup());
    MountWatcher watcher(m_base + QStringLiteral("/proc/self/mountinfo"));
    int announced = 0;
    QObject::connect(&watcher, &DriveWatcher::drivesChanged, [&] { ++announced; });
    ASSERT_TRUE(drives.registerVirtualDrive(u'E', m_base + QStringLiteral("/data")));
    const std::pair<QList<QByteArray>, const char*> steps[] = {
        {{m_root, m_data, m_card, m_usb}, "+F+G"},
        {{m_root, m_data, m_card, m_usb, m_tmpfs}, ""},
        {{m_root, m_data, m_usb, m_tmpfs}, "-F"},
        {{m_root, m_data, m_usb, m_tmpfs, m_cardAgain}, "+F"},
        {{m_root, m_usb, m_tmpfs, m_cardAgain, m_other}, "+D-D"},
    };
    DriveSnapshot before = TakeDriveSnapshot(drives);
    for (const auto& [mounts, changes] : steps) {
        writeMounts(mounts);
        const int announcedBefore = announced;
        watcher.recheck();
        const DriveSnapshot now = TakeDriveSnapshot(drives);
        const DriveChanges change = CompareDriveSnapshots(before, now);
        QString text;
        for (const QChar letter : change.added)
            text += u'+' + QString(letter);
        for (const QChar letter : change.removed)
            text += u'-' + QString(letter);
        EXPECT_EQ(text, QLatin1String(changes));
        EXPECT_EQ(announced - announcedBefore, *changes == 0 ? 0 : 1) << changes;
        before = now;
    }
    EXPECT_EQ(before.value(u'F'), m_base + QStringLiteral("/card2/"));
    // A table emptied while rewritten, then gone, is not taken for "every volume went".
    writeMounts({});
    watcher.recheck();
    ASSERT_TRUE(QFile::remove(m_base + QStringLiteral("/proc/self/mountinfo")));
    watcher.recheck();
    EXPECT_EQ(watcher.volumes().size(), 4);
    writeMounts({m_root});
    const int announcedBefore = announced;
    watcher.recheck();
    EXPECT_EQ(announced - announcedBefore, 1);
    EXPECT_EQ(watcher.volumes().size(), 1);

    // A FIFO with no writer or a missing table never blocks; the real table is watched.
    const QString fifo = m_base + QStringLiteral("/fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(MountWatcher(fifo).volumes().isEmpty());
    MountWatcher missing(m_base + QStringLiteral("/none"));
    EXPECT_FALSE(missing.isWatching());
    EXPECT_TRUE(missing.volumes().isEmpty());
    MountWatcher real;
    ASSERT_TRUE(real.isWatching());
    EXPECT_EQ(real.volumes().value(0).mountPoint, QStringLiteral("/"));
}

// Block devices only, in mount order, with octal escapes decoded; bind mounts, a device's
// second mount and mounts hidden under a later one on the same point are left out.
TEST(ParseMountInfo, KeepsVisibleBlockDevicesInMountOrder) {
    const QByteArray text =
        "26 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "not a mount line\n"
        "40 26 8:17 / /media/u/MY\\040CARD rw shared:30 master:2 - vfat /dev/sdb1 rw\n"
        "41 26 8:33 / /mnt/back\\134slash rw - ext4 /dev/sdc1 rw\n"
        "43 26 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
        "44 26 0:51 / /run/user rw - tmpfs /dev/fake rw\n"
        "45 26 8:17 /Roland /home/u/roland rw - vfat /dev/sdb1 rw\n"
        "46 26 8:17 / /home/u/card-again rw - vfat /dev/sdb1 rw\n"
        "48 26 8:49 / /data rw - ext4 /dev/sdd1 rw\n"
        "49 48 0:60 / /data rw - tmpfs tmpfs rw\n"
        "50 26 8:65 / /docs rw - ext4 /dev/sde1 rw\n";
    const QList<MountedVolume> volumes = ParseMountInfo(text);
    QStringList points;
    for (const MountedVolume& v : volumes)
        points.append(v.mountPoint);
    EXPECT_EQ(points, (QStringList{QStringLiteral("/"), QStringLiteral("/media/u/MY CARD"),
                                   QStringLiteral("/mnt/back\\slash"), QStringLiteral("/docs")}));
    EXPECT_EQ(volumes.value(1).mountId, 40); // device, file system and source: see DriveTable
    // An overlay root is still the root.
    EXPECT_EQ(ParseMountInfo("500 400 0:30 / / rw - overlay overlay rw,lowerdir=/x\n")
                  .value(0)
                  .mountPoint,
              QStringLiteral("/"));
}
