#include "platform/mountwatcher.h"

#include "support/cardtest.h"
#include "support/fakesystree.h"
#include "transfer/carddetect.h"
#include "transfer/drivechanges.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <sys/stat.h>

namespace {

// The socket notifier wants an event dispatcher: one application for the whole run.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv); // lives until the process ends
}

// One mounted volume of the sample system: id, device, mount point below the sample
// folder (or "/"), type and source.
struct Mount {
    int id;
    const char* device;
    const char* point;
    const char* typeAndSource;
};

const Mount Root{26, "8:1", "/", "ext4 /dev/sda1"};
const Mount Data{45, "8:33", "data", "ext4 /dev/sdc1"}; // fixed disk labelled BOSS_BR-864
const Mount Card{50, "8:17", "media/u/BOSS_BR-80", "vfat /dev/sdb1"};
const Mount CardAgain{60, "8:17", "media/u/BOSS_BR-801", "vfat /dev/sdb1"};
const Mount Stick{51, "8:49", "media/u/STICK", "vfat /dev/sdd1"};
const Mount Other{70, "8:65", "other", "ext4 /dev/sde1"};
const Mount RunTmp{52, "0:30", "run/user", "tmpfs tmpfs"};

// A sample system in a temporary folder (sysfs, /dev/disk/by-label and a mount table file
// that the test rewrites) with a watcher, a drive table and a card detector on it.
class MountWatcherTest : public ::testing::Test {
protected:
    MountWatcherTest() : m_tree(m_temp.path()) {
        EnsureApplication();
        m_base = QDir(m_temp.path()).canonicalPath();
        const QString ata = QStringLiteral("sys/devices/pci0000:00/ata1/host0/block/");
        const QString usb = QStringLiteral("sys/devices/pci0000:00/usb2/2-1/host6/block/");
        addDisk(ata, QStringLiteral("sda"), QStringLiteral("8:1"), false);
        addDisk(ata, QStringLiteral("sdb"), QStringLiteral("8:17"), true); // card reader
        addDisk(ata, QStringLiteral("sdc"), QStringLiteral("8:33"), false);
        addDisk(usb, QStringLiteral("sdd"), QStringLiteral("8:49"), false);
        addDisk(ata, QStringLiteral("sde"), QStringLiteral("8:65"), false);
        label(QStringLiteral("BOSS_BR-80"), QStringLiteral("sdb1"));
        label(QStringLiteral("BOSS_BR-864"), QStringLiteral("sdc1"));
        label(QStringLiteral("STICK"), QStringLiteral("sdd1"));
        mount({Root, Data});
        LinuxDrivesSetup setup;
        setup.procRoot = m_base + QStringLiteral("/proc");
        setup.sysRoot = m_base + QStringLiteral("/sys");
        setup.devRoot = m_base + QStringLiteral("/dev");
        m_drives = std::make_unique<LinuxDrives>(setup);
        m_detector = std::make_unique<CardDetector>(*m_drives);
        m_watcher = std::make_unique<MountWatcher>(tablePath());
        QObject::connect(m_watcher.get(), &DriveWatcher::drivesChanged, [this] { ++m_announced; });
    }

    QString tablePath() const { return m_base + QStringLiteral("/proc/self/mountinfo"); }

    void mount(const QList<Mount>& mounts) {
        QByteArray text;
        for (const Mount& m : mounts) {
            const QByteArray point = qstrcmp(m.point, "/") == 0
                                         ? QByteArray("/")
                                         : QFile::encodeName(m_base) + '/' + m.point;
            text += QByteArray::number(m.id) + " 1 " + m.device + " / " + point +
                    " rw,relatime shared:1 - " + m.typeAndSource + " rw\n";
        }
        ASSERT_TRUE(m_tree.writeFile(QStringLiteral("proc/self/mountinfo"), text));
    }

    // The drive table as "C=/ D=data E=BOSS_BR-80": letter and mount point's last name.
    QString letters() {
        QStringList out;
        for (const QChar letter : m_drives->drives()) {
            QString root = m_drives->rootOf(letter);
            root.chop(1);
            out.append(QString(letter) + u'=' +
                       (root.isEmpty() ? QStringLiteral("/") : root.section(u'/', -1)));
        }
        return out.join(u' ');
    }

    void addDisk(const QString& parent, const QString& disk, const QString& device,
                 bool removable) {
        ASSERT_TRUE(AddFakeDisk(m_tree, parent, disk, device, removable));
    }

    void label(const QString& name, const QString& part) {
        ASSERT_TRUE(AddFakeLabel(m_tree, name, part));
    }

    TempFolder m_temp;
    CardFixture m_tree;
    QString m_base;
    std::unique_ptr<LinuxDrives> m_drives;
    std::unique_ptr<CardDetector> m_detector;
    std::unique_ptr<MountWatcher> m_watcher;
    int m_announced = 0;
};

// One moment of the sample system: the table written, the drive table then, the letters
// added ("+E") and removed ("-E"), and the letter of the recorder card among them (0: none).
// The watcher announces a table exactly when the drive table changes.
struct Step {
    const char* what;
    QList<Mount> mounts;
    const char* letters;
    const char* changes;
    char card;
};

QString Changes(const DriveChanges& changes) {
    QString text;
    for (const QChar letter : changes.added)
        text += u'+' + QString(letter);
    for (const QChar letter : changes.removed)
        text += u'-' + QString(letter);
    return text;
}

} // namespace

TEST_F(MountWatcherTest, TableChangingUnderTheWatcher) {
    const Step steps[] = {
        {"card in", {Root, Data, Card}, "C=/ D=data E=BOSS_BR-80", "+E", 'E'},
        {"same plus tmpfs", {Root, Data, Card, RunTmp}, "C=/ D=data E=BOSS_BR-80", "", 'E'},
        {"stick in",
         {Root, Data, Card, RunTmp, Stick},
         "C=/ D=data E=BOSS_BR-80 F=STICK",
         "+F",
         'E'},
        {"card out", {Root, Data, RunTmp, Stick}, "C=/ D=data F=STICK", "-E", 0},
        {"card elsewhere",
         {Root, Data, RunTmp, Stick, CardAgain},
         "C=/ D=data E=BOSS_BR-801 F=STICK",
         "+E",
         'E'},
        {"fixed disk out",
         {Root, RunTmp, Stick, CardAgain},
         "C=/ E=BOSS_BR-801 F=STICK",
         "-D",
         'E'},
        {"lowest free",
         {Root, RunTmp, Stick, CardAgain, Other},
         "C=/ D=other E=BOSS_BR-801 F=STICK",
         "+D",
         'E'},
    };
    DriveSnapshot before = TakeDriveSnapshot(*m_drives);
    EXPECT_EQ(letters(), QStringLiteral("C=/ D=data"));
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        mount(step.mounts);
        const int announcedBefore = m_announced;
        m_watcher->recheck();
        EXPECT_EQ(letters(), QLatin1String(step.letters));
        const DriveSnapshot now = TakeDriveSnapshot(*m_drives);
        EXPECT_EQ(Changes(CompareDriveSnapshots(before, now)), QLatin1String(step.changes));
        EXPECT_EQ(m_announced - announcedBefore, *step.changes == 0 ? 0 : 1);
        before = now;
        QChar found;
        for (const QChar letter : m_drives->drives()) {
            if (found.isNull() && m_detector->GetCardModel(letter) != RecorderModel::None)
                found = letter;
        }
        EXPECT_EQ(found, QChar(QLatin1Char(step.card))); // never D: a recorder label, fixed disk
        if (step.card != 0) {
            EXPECT_EQ(m_detector->GetCardModel(found), RecorderModel::BR80);
        }
    }
}

TEST_F(MountWatcherTest, UnreadableTableKeepsTheLastVolumes) {
    mount({Root, Data, Card});
    m_watcher->recheck();
    ASSERT_EQ(m_announced, 1);
    ASSERT_EQ(m_watcher->volumes().size(), 3);
    // Emptied while rewritten, then gone: neither is taken for "every volume went".
    ASSERT_TRUE(m_tree.writeFile(QStringLiteral("proc/self/mountinfo"), QByteArray()));
    m_watcher->recheck();
    ASSERT_TRUE(QFile::remove(tablePath()));
    m_watcher->recheck();
    EXPECT_EQ(m_announced, 1);
    EXPECT_EQ(m_watcher->volumes().size(), 3);
    mount({Root, Data});
    m_watcher->recheck();
    EXPECT_EQ(m_announced, 2);
    EXPECT_EQ(m_watcher->volumes().size(), 2);
}

TEST(MountWatcher, FifoOrMissingTableNeverBlocks) {
    EnsureApplication();
    TempFolder temp;
    const QString fifo = temp.path(QStringLiteral("mountinfo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    MountWatcher onFifo(fifo); // a FIFO with no writer: reading it must not wait
    EXPECT_TRUE(onFifo.volumes().isEmpty());
    EXPECT_TRUE(ReadMountTable(fifo).isEmpty());
    MountWatcher missing(temp.path(QStringLiteral("none")));
    EXPECT_FALSE(missing.isWatching());
    EXPECT_TRUE(missing.volumes().isEmpty());
}

// The real table is watched and holds the root file system.
TEST(MountWatcher, WatchesThisMachinesTable) {
    EnsureApplication();
    MountWatcher watcher;
    ASSERT_TRUE(watcher.isWatching());
    EXPECT_TRUE(std::any_of(watcher.volumes().cbegin(), watcher.volumes().cend(),
                            [](const MountedVolume& v) { return v.mountPoint == u"/"; }));
}

// A real mount seen through the kernel's event: a child process in a mount namespace of
// its own mounts a file system; the watcher on that process's table reads it again once,
// and not over and over afterwards. Skipped where user namespaces are not allowed.
TEST(MountWatcher, KernelEventTriggersOneRead) {
    EnsureApplication();
    QProcess child;
    child.start(QStringLiteral("unshare"),
                {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
                 QStringLiteral("sleep 0.5; mount -t tmpfs none /mnt && sleep 3")});
    if (!child.waitForStarted(2000))
        GTEST_SKIP() << "unshare is not available";
    QThread::msleep(200); // the namespace is made at once; the mount comes later
    if (child.state() != QProcess::Running)
        GTEST_SKIP() << "user namespaces are not allowed here";
    const QString table =
        QStringLiteral("/proc/%1/mountinfo").arg(static_cast<qint64>(child.processId()));
    MountWatcher watcher(table);
    ASSERT_TRUE(watcher.isWatching());
    QElapsedTimer clock;
    clock.start();
    while (watcher.reads() < 2 && clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const bool mounted = child.state() == QProcess::Running;
    while (clock.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    child.kill();
    child.waitForFinished(2000);
    if (!mounted && watcher.reads() < 2)
        GTEST_SKIP() << "the mount was refused";
    EXPECT_EQ(watcher.reads(), 2);
}
