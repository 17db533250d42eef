#pragma once

#include "platform/drives.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// What the free-space query of a mounted file system reports (statvfs).
struct FsStat {
    std::uint64_t fragmentSize = 0;    // f_frsize: the cluster size
    std::uint64_t blocks = 0;          // f_blocks, in fragments
    std::uint64_t availableBlocks = 0; // f_bavail: free for the user, in fragments
};

using FsStatFunction = std::function<std::optional<FsStat>(const QByteArray& path)>;

// statvfs(2) of a path.
std::optional<FsStat> SystemFsStat(const QByteArray& path);

// Where LinuxDrives looks; tests point it at a sample tree in a temporary folder.
struct LinuxDrivesSetup {
    QString procRoot = QStringLiteral("/proc"); // reads <procRoot>/self/mountinfo
    QString sysRoot = QStringLiteral("/sys");   // <sysRoot>/dev/block/<major>:<minor>
    QString devRoot = QStringLiteral("/dev");   // <devRoot>/disk/by-label; device "/dev/x"
                                                // stands for <devRoot>/x
    // How long a readiness or space query may wait for a hung mount.
    std::chrono::milliseconds queryTimeout{2000};
    FsStatFunction fsStat = SystemFsStat;
};

// One mounted volume the drive table may letter, as read from mountinfo.
struct MountedVolume {
    int mountId = 0;
    QString device;     // "8:17": major and minor number
    QString mountPoint; // as mounted, no trailing '/' except for "/"
    QString fileSystem;
    QString source; // "/dev/sdb1"
};

// The volumes a mountinfo text holds, in mount order: "/" and every block-device-backed file
// system; pseudo file systems, squashfs, bind mounts (a sub-folder of a file system, or a
// device already mounted earlier) and mounts hidden by a later mount on the same folder are
// left out. Escapes in mount points ("\040" for a blank) are decoded.
QList<MountedVolume> ParseMountInfo(const QByteArray& mountInfo);

// The drive table of a Linux system. 'C' is the root file system; every other volume gets
// the lowest free letter from 'D' on, in mount order, and keeps it while it stays mounted.
// The table is brought up to date from mountinfo at every query. A free-space query runs on
// a worker thread and is abandoned after the timeout; while it still hangs, further queries
// of that volume fail at once.
class LinuxDrives : public DriveServices {
public:
    explicit LinuxDrives(LinuxDrivesSetup setup = {});

    QList<QChar> drives() override;
    DriveType driveType(QChar letter) override;
    std::optional<VolumeInfo> volumeInfo(QChar letter) override;
    std::optional<ClusterSpace> clusterSpace(QChar letter) override;
    std::optional<ByteSpace> byteSpace(QChar letter) override;
    bool isReady(QChar letter) override;
    QChar driveOfPath(const QString& path) override;
    QString rootOf(QChar letter) override;
    bool registerVirtualDrive(QChar letter, const QString& folder) override;
    bool removeVirtualDrive(QChar letter) override;

private:
    struct PendingStat;

    void refresh();
    // The volume answering for a letter: its own, or for a virtual drive the one beneath.
    std::optional<MountedVolume> volumeOf(QChar letter);
    // The folder whose free space answers for a letter; empty when none.
    QString statPathOf(QChar letter);
    std::optional<FsStat> timedStat(const QString& path);
    bool isRemovable(const MountedVolume& volume) const;
    QString labelOf(const MountedVolume& volume) const;
    QString devicePath(const QString& source) const;

    LinuxDrivesSetup m_setup;
    QMap<QChar, MountedVolume> m_volumes;                   // lettered volumes, 'C' included
    QMap<QChar, QString> m_virtual;                         // letter -> real folder ending in '/'
    QHash<QString, std::shared_ptr<PendingStat>> m_pending; // by folder
};
