#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

// Lettered volumes, as the program's card and drive logic sees them. Letter 'C' is the
// root file system; other volumes get letters from 'D' on. Letters are upper case.
enum class DriveType { NoSuchDrive, Removable, Fixed };

struct VolumeInfo {
    QString label;      // empty for a volume without a label
    QString fileSystem; // "vfat", "exfat", ...
};

struct ClusterSpace {
    std::uint64_t sectorsPerCluster = 0;
    std::uint64_t bytesPerSector = 0;
    std::uint64_t freeClusters = 0;
    std::uint64_t totalClusters = 0;
};

struct ByteSpace {
    std::int64_t totalBytes = 0;
    std::int64_t freeBytes = 0; // free for the user
};

class DriveServices {
public:
    virtual ~DriveServices() = default;

    // The letters in use, ascending (virtual drives included).
    virtual QList<QChar> drives() = 0;
    virtual DriveType driveType(QChar letter) = 0;
    // Label and file-system name; nullopt when the query fails.
    virtual std::optional<VolumeInfo> volumeInfo(QChar letter) = 0;
    // nullopt when the drive does not exist or has no medium.
    virtual std::optional<ClusterSpace> clusterSpace(QChar letter) = 0;
    virtual std::optional<ByteSpace> byteSpace(QChar letter) = 0;
    // The free-space query succeeds; never blocks longer than about two seconds.
    virtual bool isReady(QChar letter) = 0;
    // The drive whose root is the longest prefix of the folder's real path (a virtual drive
    // wins over the volume beneath it); QChar() when none.
    virtual QChar driveOfPath(const QString& path) = 0;
    // The root folder of a letter, ending in '/'; empty when the letter has no volume.
    virtual QString rootOf(QChar letter) = 0;
    // Virtual drives: a letter standing for a folder.
    virtual bool registerVirtualDrive(QChar letter, const QString& folder) = 0;
    virtual bool removeVirtualDrive(QChar letter) = 0;
};
