#include "platform/linuxdrives.h"

#include "support/cardtest.h"
#include "support/fakesystree.h"

#include <QDir>
#include <atomic>
#include <future>
#include <thread>

namespace {

// A sample system in a temporary folder: mountinfo, sysfs and /dev/disk/by-label as the
// kernel and udev lay them out, with mount points inside the folder so that the free-space
// query works on them.
class SampleSystem : public ::testing::Test {
protected:
    SampleSystem() : m_tree(m_temp.path()) {
        m_base = QDir(m_temp.path()).canonicalPath();
        const QString ata = QStringLiteral("sys/devices/pci0000:00/0000:00:17.0/ata1/host0/"
                                           "target0:0:0/0:0:0:0/block/");
        const QString usb = QStringLiteral("sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/"
                                           "2-1:1.0/host6/target6:0:0/6:0:0:0/block/");
        const QString mmc =
            QStringLiteral("sys/devices/platform/soc/mmc_host/mmc0/mmc0:0001/block/");
        addDisk(ata, QStringLiteral("sda"), QStringLiteral("8:1"), false);
        addDisk(ata, QStringLiteral("sdb"), QStringLiteral("8:17"), true); // card reader
        addDisk(mmc, QStringLiteral("mmcblk0"), QStringLiteral("179:1"), false,
                QStringLiteral("p1"));
        addDisk(ata, QStringLiteral("sdc"), QStringLiteral("8:33"), false);
        addDisk(usb, QStringLiteral("sdd"), QStringLiteral("8:49"), false);
        label(QStringLiteral("BOSS_BR-864"), QStringLiteral("sdb1"));
        label(QStringLiteral("MMC\\x20CARD"), QStringLiteral("mmcblk0p1"));
        label(QStringLiteral("ROOT"), QStringLiteral("sda1"));
        for (const char* folder :
             {"media/u/BOSS_BR-864/Roland/BR0", "media/u/MMC CARD", "data", "snap/core/1", "bind"})
            EXPECT_TRUE(m_tree.makeFolder(QString::fromLatin1(folder)));
        // The USB disk's mount point is left missing: its free-space query fails.
        writeMounts({line(26, "8:1", "/", "/", "ext4 /dev/sda1"),
                     line(21, "0:20", "/", mp("proc"), "proc proc"),
                     line(40, "8:17", "/", mp("media/u/BOSS_BR-864"), "vfat /dev/sdb1"),
                     line(41, "7:0", "/", mp("snap/core/1"), "squashfs /dev/loop0"),
                     line(42, "8:17", "/Roland", mp("bind"), "vfat /dev/sdb1"),
                     line(43, "0:30", "/", mp("run"), "tmpfs tmpfs"),
                     line(44, "179:1", "/", mp("media/u/MMC\\040CARD"), "exfat /dev/mmcblk0p1"),
                     line(45, "8:33", "/", mp("data"), "ext4 /dev/sdc1"),
                     line(46, "0:50", "/", mp("net"), "nfs4 server:/export"),
                     line(47, "8:49", "/", mp("usbdisk"), "ext4 /dev/sdd1")});
    }

    LinuxDrivesSetup setup() const {
        LinuxDrivesSetup s;
        s.procRoot = m_base + QStringLiteral("/proc");
        s.sysRoot = m_base + QStringLiteral("/sys");
        s.devRoot = m_base + QStringLiteral("/dev");
        return s;
    }

    static QByteArray line(int id, const char* device, const char* fsRoot, const QByteArray& point,
                           const char* typeAndSource) {
        return QByteArray::number(id) + " 1 " + device + ' ' + fsRoot + ' ' + point +
               " rw,relatime shared:1 - " + typeAndSource + " rw";
    }

    // A mount point below the sample folder, as mountinfo writes it.
    QByteArray mp(const char* relative) const { return QFile::encodeName(m_base) + '/' + relative; }

    void writeMounts(const QList<QByteArray>& lines) {
        ASSERT_TRUE(m_tree.writeFile(QStringLiteral("proc/self/mountinfo"), lines.join('\n')));
    }

    void addDisk(const QString& parent, const QString& disk, const QString& device, bool removable,
                 const QString& partSuffix = QStringLiteral("1")) {
        ASSERT_TRUE(AddFakeDisk(m_tree, parent, disk, device, removable, partSuffix));
    }

    void label(const QString& escaped, const QString& part) {
        ASSERT_TRUE(AddFakeLabel(m_tree, escaped, part));
    }

    TempFolder m_temp;
    CardFixture m_tree;
    QString m_base;
};

} // namespace

TEST_F(SampleSystem, LettersFollowMountOrderLeavingOutPseudoSquashfsAndBindMounts) {
    LinuxDrives drives(setup());
    EXPECT_EQ(drives.drives(), (QList<QChar>{u'C', u'D', u'E', u'F', u'G'}));
    EXPECT_EQ(drives.rootOf(u'C'), QStringLiteral("/"));
    EXPECT_EQ(drives.rootOf(u'D'), m_base + QStringLiteral("/media/u/BOSS_BR-864/"));
    EXPECT_EQ(drives.rootOf(u'E'), m_base + QStringLiteral("/media/u/MMC CARD/"));
    EXPECT_EQ(drives.rootOf(u'F'), m_base + QStringLiteral("/data/"));
    EXPECT_EQ(drives.rootOf(u'G'), m_base + QStringLiteral("/usbdisk/"));
    EXPECT_EQ(drives.driveType(u'H'), DriveType::NoSuchDrive);
}

TEST_F(SampleSystem, RemovableByFlagByUsbBusAndByMmc) {
    LinuxDrives drives(setup());
    EXPECT_EQ(drives.driveType(u'C'), DriveType::Fixed);
    EXPECT_EQ(drives.driveType(u'D'), DriveType::Removable); // removable flag
    EXPECT_EQ(drives.driveType(u'E'), DriveType::Removable); // MMC/SD
    EXPECT_EQ(drives.driveType(u'F'), DriveType::Fixed);
    EXPECT_EQ(drives.driveType(u'G'), DriveType::Removable); // USB bus
}

TEST_F(SampleSystem, LabelsFromDiskByLabel) {
    LinuxDrives drives(setup());
    ASSERT_TRUE(drives.volumeInfo(u'D'));
    EXPECT_EQ(drives.volumeInfo(u'D')->label, QStringLiteral("BOSS_BR-864"));
    EXPECT_EQ(drives.volumeInfo(u'D')->fileSystem, QStringLiteral("vfat"));
    EXPECT_EQ(drives.volumeInfo(u'E')->label, QStringLiteral("MMC CARD"));
    EXPECT_EQ(drives.volumeInfo(u'C')->label, QStringLiteral("ROOT"));
    ASSERT_TRUE(drives.volumeInfo(u'F'));
    EXPECT_TRUE(drives.volumeInfo(u'F')->label.isEmpty()); // a volume without a label
    EXPECT_FALSE(drives.volumeInfo(u'H'));
}

TEST_F(SampleSystem, ReadinessIsTheFreeSpaceQuery) {
    LinuxDrives drives(setup());
    EXPECT_TRUE(drives.isReady(u'D'));
    ASSERT_TRUE(drives.byteSpace(u'D'));
    EXPECT_GT(drives.byteSpace(u'D')->totalBytes, 0);
    EXPECT_FALSE(drives.isReady(u'G')); // its mount point is gone
    EXPECT_FALSE(drives.clusterSpace(u'G'));
    EXPECT_FALSE(drives.byteSpace(u'G'));
}

TEST_F(SampleSystem, LettersStayWhileMountedAndFreedLettersAreReused) {
    LinuxDrives drives(setup());
    ASSERT_EQ(drives.rootOf(u'F'), m_base + QStringLiteral("/data/"));
    // The card is taken out and another disk comes: it gets the freed D; the others stay.
    writeMounts({line(26, "8:1", "/", "/", "ext4 /dev/sda1"),
                 line(44, "179:1", "/", mp("media/u/MMC\\040CARD"), "exfat /dev/mmcblk0p1"),
                 line(45, "8:33", "/", mp("data"), "ext4 /dev/sdc1"),
                 line(47, "8:49", "/", mp("usbdisk"), "ext4 /dev/sdd1"),
                 line(60, "8:65", "/", mp("other"), "ext4 /dev/sde1")});
    EXPECT_EQ(drives.rootOf(u'D'), m_base + QStringLiteral("/other/"));
    EXPECT_EQ(drives.rootOf(u'E'), m_base + QStringLiteral("/media/u/MMC CARD/"));
    EXPECT_EQ(drives.rootOf(u'F'), m_base + QStringLiteral("/data/"));
    EXPECT_EQ(drives.rootOf(u'G'), m_base + QStringLiteral("/usbdisk/"));
    // The card comes back: the lowest free letter.
    writeMounts({line(26, "8:1", "/", "/", "ext4 /dev/sda1"),
                 line(44, "179:1", "/", mp("media/u/MMC\\040CARD"), "exfat /dev/mmcblk0p1"),
                 line(45, "8:33", "/", mp("data"), "ext4 /dev/sdc1"),
                 line(47, "8:49", "/", mp("usbdisk"), "ext4 /dev/sdd1"),
                 line(60, "8:65", "/", mp("other"), "ext4 /dev/sde1"),
                 line(61, "8:17", "/", mp("media/u/BOSS_BR-864"), "vfat /dev/sdb1")});
    EXPECT_EQ(drives.drives(), (QList<QChar>{u'C', u'D', u'E', u'F', u'G', u'H'}));
    EXPECT_EQ(drives.volumeInfo(u'H')->label, QStringLiteral("BOSS_BR-864"));
}

TEST_F(SampleSystem, DriveOfPathIsTheLongestRootAndVirtualDrivesWin) {
    LinuxDrives drives(setup());
    const QString card = m_base + QStringLiteral("/media/u/BOSS_BR-864");
    EXPECT_EQ(drives.driveOfPath(card + QStringLiteral("/Roland/BR0")), u'D');
    EXPECT_EQ(drives.driveOfPath(card), u'D');
    EXPECT_EQ(drives.driveOfPath(m_base + QStringLiteral("/media/u")), u'C');
    EXPECT_EQ(drives.driveOfPath(m_base + QStringLiteral("/media/u/MMC CARD/x")), u'E');
    EXPECT_EQ(drives.driveOfPath(m_base + QStringLiteral("/bind")), u'C');

    EXPECT_FALSE(drives.registerVirtualDrive(u'D', card)); // a volume's letter
    EXPECT_FALSE(drives.registerVirtualDrive(u'Q', card + QStringLiteral("/missing")));
    ASSERT_TRUE(drives.registerVirtualDrive(u'Q', card + QStringLiteral("/Roland")));
    EXPECT_FALSE(drives.registerVirtualDrive(u'Q', card));
    EXPECT_EQ(drives.driveOfPath(card + QStringLiteral("/Roland/BR0")), u'Q');
    EXPECT_EQ(drives.driveOfPath(card), u'D');
    EXPECT_EQ(drives.rootOf(u'Q'), card + QStringLiteral("/Roland/"));
    // A virtual drive answers with the volume beneath it.
    EXPECT_EQ(drives.driveType(u'Q'), DriveType::Removable);
    EXPECT_EQ(drives.volumeInfo(u'Q')->label, QStringLiteral("BOSS_BR-864"));
    EXPECT_TRUE(drives.isReady(u'Q'));
    EXPECT_TRUE(drives.drives().contains(u'Q'));
    EXPECT_TRUE(drives.removeVirtualDrive(u'Q'));
    EXPECT_FALSE(drives.drives().contains(u'Q'));
    EXPECT_EQ(drives.driveOfPath(card + QStringLiteral("/Roland/BR0")), u'D');
}

TEST_F(SampleSystem, VirtualDriveLetterIsNotGivenToANewVolume) {
    LinuxDrives drives(setup());
    ASSERT_TRUE(drives.registerVirtualDrive(u'H', m_base + QStringLiteral("/data")));
    writeMounts({line(26, "8:1", "/", "/", "ext4 /dev/sda1"),
                 line(40, "8:17", "/", mp("media/u/BOSS_BR-864"), "vfat /dev/sdb1"),
                 line(44, "179:1", "/", mp("media/u/MMC\\040CARD"), "exfat /dev/mmcblk0p1"),
                 line(45, "8:33", "/", mp("data"), "ext4 /dev/sdc1"),
                 line(47, "8:49", "/", mp("usbdisk"), "ext4 /dev/sdd1"),
                 line(60, "8:65", "/", mp("other"), "ext4 /dev/sde1")});
    EXPECT_EQ(drives.rootOf(u'I'), m_base + QStringLiteral("/other/"));
    EXPECT_EQ(drives.rootOf(u'H'), m_base + QStringLiteral("/data/"));
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
    EXPECT_FALSE(drives.isReady(u'F'));
    EXPECT_FALSE(drives.byteSpace(u'F'));
    EXPECT_EQ(calls->load(), 1);
    EXPECT_TRUE(drives.isReady(u'D')); // other volumes still answer

    release.set_value();
    bool ready = false;
    for (int i = 0; i < 1000 && !ready; ++i) {
        ready = drives.isReady(u'F');
        if (!ready)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(ready);
    EXPECT_GE(calls->load(), 2);
}
