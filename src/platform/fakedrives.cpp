#include "platform/fakedrives.h"

#include "platform/drivepaths.h"

#include <QSet>
#include <algorithm>

namespace {

QString WithSlash(const QString& folder) {
    QString out = RealFolderPath(folder);
    if (!out.endsWith(u'/'))
        out.append(u'/');
    return out;
}

} // namespace

FakeDrives::FakeDrives(const QList<FakeDrive>& table) {
    for (const FakeDrive& d : table)
        setDrive(d);
}

void FakeDrives::setDrive(const FakeDrive& drive) {
    FakeDrive d = drive;
    d.letter = DriveLetterOf(d.letter);
    if (d.letter.isNull())
        return;
    if (!d.root.isEmpty())
        d.root = WithSlash(d.root);
    m_drives.insert(d.letter, d);
}

void FakeDrives::removeDrive(QChar letter) {
    m_drives.remove(DriveLetterOf(letter));
}

FakeDrive* FakeDrives::drive(QChar letter) {
    const auto it = m_drives.find(DriveLetterOf(letter));
    return it == m_drives.end() ? nullptr : &it.value();
}

QList<QChar> FakeDrives::queriedLetters() const {
    QList<QChar> letters;
    for (const DriveQuery& q : m_queries) {
        if (!q.letter.isNull() && !letters.contains(q.letter))
            letters.append(q.letter);
    }
    std::sort(letters.begin(), letters.end());
    return letters;
}

int FakeDrives::queryCount(DriveQuery::Kind kind) const {
    return static_cast<int>(std::count_if(m_queries.cbegin(), m_queries.cend(),
                                          [kind](const DriveQuery& q) { return q.kind == kind; }));
}

const FakeDrive* FakeDrives::volumeOf(QChar letter) const {
    const QChar l = DriveLetterOf(letter);
    const auto virt = m_virtual.constFind(l);
    if (virt != m_virtual.cend()) {
        const QChar beneath = findDrive(virt.value(), false);
        return beneath.isNull() ? nullptr : &m_drives.constFind(beneath).value();
    }
    const auto it = m_drives.constFind(l);
    return it == m_drives.cend() ? nullptr : &it.value();
}

QList<QChar> FakeDrives::drives() {
    log(DriveQuery::Drives, QChar());
    QSet<QChar> letters;
    for (auto it = m_drives.cbegin(); it != m_drives.cend(); ++it)
        letters.insert(it.key());
    for (auto it = m_virtual.cbegin(); it != m_virtual.cend(); ++it)
        letters.insert(it.key());
    QList<QChar> out(letters.cbegin(), letters.cend());
    std::sort(out.begin(), out.end());
    return out;
}

DriveType FakeDrives::driveType(QChar letter) {
    log(DriveQuery::Type, DriveLetterOf(letter));
    const FakeDrive* d = volumeOf(letter);
    return d ? d->type : DriveType::NoSuchDrive;
}

std::optional<VolumeInfo> FakeDrives::volumeInfo(QChar letter) {
    log(DriveQuery::Volume, DriveLetterOf(letter));
    const FakeDrive* d = volumeOf(letter);
    if (!d || !d->ready || !d->label)
        return std::nullopt;
    return VolumeInfo{*d->label, d->fileSystem};
}

std::optional<ClusterSpace> FakeDrives::clusterSpace(QChar letter) {
    log(DriveQuery::Clusters, DriveLetterOf(letter));
    const FakeDrive* d = volumeOf(letter);
    if (!d || !d->ready)
        return std::nullopt;
    const std::uint64_t cluster = d->bytesPerSector * d->sectorsPerCluster;
    ClusterSpace space;
    space.bytesPerSector = d->bytesPerSector;
    space.sectorsPerCluster = d->sectorsPerCluster;
    if (cluster != 0) {
        space.totalClusters =
            static_cast<std::uint64_t>(std::max<std::int64_t>(d->totalBytes, 0)) / cluster;
        space.freeClusters =
            static_cast<std::uint64_t>(std::max<std::int64_t>(d->freeBytes, 0)) / cluster;
    }
    return space;
}

std::optional<ByteSpace> FakeDrives::byteSpace(QChar letter) {
    log(DriveQuery::Bytes, DriveLetterOf(letter));
    const FakeDrive* d = volumeOf(letter);
    if (!d || !d->ready)
        return std::nullopt;
    return ByteSpace{d->totalBytes, d->freeBytes};
}

bool FakeDrives::isReady(QChar letter) {
    log(DriveQuery::Ready, DriveLetterOf(letter));
    const FakeDrive* d = volumeOf(letter);
    return d && d->ready;
}

QChar FakeDrives::findDrive(const QString& path, bool withVirtual) const {
    const QString real = RealFolderPath(path);
    QChar best;
    qsizetype bestLength = -1;
    for (auto it = m_drives.cbegin(); it != m_drives.cend(); ++it) {
        const qsizetype length = RootCoverLength(real, it.value().root);
        if (length > bestLength) {
            best = it.key();
            bestLength = length;
        }
    }
    if (withVirtual) {
        for (auto it = m_virtual.cbegin(); it != m_virtual.cend(); ++it) {
            const qsizetype length = RootCoverLength(real, it.value());
            if (length >= 0 && length >= bestLength) {
                best = it.key();
                bestLength = length;
            }
        }
    }
    return best;
}

QChar FakeDrives::driveOfPath(const QString& path) {
    log(DriveQuery::DriveOfPath, QChar());
    return findDrive(path, true);
}

QString FakeDrives::rootOf(QChar letter) {
    const QChar l = DriveLetterOf(letter);
    log(DriveQuery::RootOf, l);
    const auto virt = m_virtual.constFind(l);
    if (virt != m_virtual.cend())
        return virt.value();
    const auto it = m_drives.constFind(l);
    return it == m_drives.cend() ? QString() : it.value().root;
}

bool FakeDrives::registerVirtualDrive(QChar letter, const QString& folder) {
    const QChar l = DriveLetterOf(letter);
    if (l.isNull() || folder.isEmpty() || m_drives.contains(l) || m_virtual.contains(l))
        return false;
    m_virtual.insert(l, WithSlash(folder));
    return true;
}

bool FakeDrives::removeVirtualDrive(QChar letter) {
    return m_virtual.remove(DriveLetterOf(letter)) > 0;
}
