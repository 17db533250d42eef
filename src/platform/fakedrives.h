#pragma once

#include "platform/drives.h"

#include <QList>
#include <QMap>
#include <QString>
#include <cstdint>
#include <optional>

// One volume of a FakeDrives table.
struct FakeDrive {
    QChar letter;
    QString root; // a folder; a trailing '/' is added when missing
    DriveType type = DriveType::Fixed;
    std::optional<QString> label; // nullopt: the label query fails
    QString fileSystem = QStringLiteral("vfat");
    std::int64_t totalBytes = 0;
    std::int64_t freeBytes = 0;
    bool ready = true; // false: an empty slot (no medium)
    std::uint64_t bytesPerSector = 512;
    std::uint64_t sectorsPerCluster = 64;
};

// One query made of a FakeDrives table, in the order made.
struct DriveQuery {
    enum Kind { Drives, Type, Volume, Clusters, Bytes, Ready, DriveOfPath, RootOf };
    Kind kind;
    QChar letter; // QChar() for Drives and DriveOfPath

    bool operator==(const DriveQuery&) const = default;
};

// Drive services from a table, for tests of every layer. A drive that is not ready answers
// like an empty card slot: no label, no space, not ready. Cluster counts are the byte
// counts divided by the cluster size (rounded down). Virtual drives share the type, label
// and space of the volume beneath their folder. Every query is logged.
class FakeDrives : public DriveServices {
public:
    FakeDrives() = default;
    explicit FakeDrives(const QList<FakeDrive>& table);

    // Adds the drive, replacing one of the same letter (a card put into a reader).
    void setDrive(const FakeDrive& drive);
    // Removes the drive of that letter (a card taken out).
    void removeDrive(QChar letter);
    // The table entry of a letter; nullptr when none (or when it is a virtual drive).
    FakeDrive* drive(QChar letter);

    QList<DriveQuery> queries() const { return m_queries; }
    // Letters asked about since the last clearQueries(), ascending, without repeats.
    QList<QChar> queriedLetters() const;
    int queryCount(DriveQuery::Kind kind) const;
    void clearQueries() { m_queries.clear(); }

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
    // The table entry answering for a letter: its own, or for a virtual drive the one beneath.
    const FakeDrive* volumeOf(QChar letter) const;
    QChar findDrive(const QString& path, bool withVirtual) const;
    void log(DriveQuery::Kind kind, QChar letter) { m_queries.append({kind, letter}); }

    QMap<QChar, FakeDrive> m_drives;
    QMap<QChar, QString> m_virtual; // letter -> folder ending in '/'
    QList<DriveQuery> m_queries;
};
