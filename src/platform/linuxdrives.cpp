#include "platform/linuxdrives.h"

#include "platform/drivepaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <sys/statvfs.h>
#include <system_error>
#include <thread>

namespace {

// File systems that never stand for a disk or card, whatever their source says.
bool IsPseudoFileSystem(const QString& type) {
    static const QSet<QString> pseudo = {
        QStringLiteral("proc"),        QStringLiteral("sysfs"),      QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),      QStringLiteral("tmpfs"),      QStringLiteral("ramfs"),
        QStringLiteral("cgroup"),      QStringLiteral("cgroup2"),    QStringLiteral("securityfs"),
        QStringLiteral("debugfs"),     QStringLiteral("tracefs"),    QStringLiteral("pstore"),
        QStringLiteral("bpf"),         QStringLiteral("mqueue"),     QStringLiteral("hugetlbfs"),
        QStringLiteral("configfs"),    QStringLiteral("fusectl"),    QStringLiteral("autofs"),
        QStringLiteral("binfmt_misc"), QStringLiteral("efivarfs"),   QStringLiteral("overlay"),
        QStringLiteral("nsfs"),        QStringLiteral("rpc_pipefs"), QStringLiteral("nfsd"),
        QStringLiteral("selinuxfs"),   QStringLiteral("squashfs"),
    };
    return pseudo.contains(type);
}

// Decodes the octal escapes of a mountinfo field ("\040" for a blank).
QString UnescapeMountField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size() && field.at(i + 1) >= '0' && field.at(i + 1) <= '3') {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QFile::decodeName(out);
}

// Decodes udev's "\xHH" escapes of a /dev/disk/by-label name.
QString UnescapeUdevName(const QString& name) {
    const QByteArray raw = QFile::encodeName(name);
    QByteArray out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) == '\\' && i + 3 < raw.size() && raw.at(i + 1) == 'x') {
            bool ok = false;
            const int code = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(raw.at(i));
    }
    return QString::fromUtf8(out);
}

// One mountinfo line; nullopt for a line that does not parse.
std::optional<std::pair<MountedVolume, QString>> ParseMountLine(const QByteArray& line) {
    const QList<QByteArray> f = line.split(' ');
    const qsizetype dash = f.indexOf(QByteArrayLiteral("-"));
    if (f.size() < 6 || dash < 6 || dash + 2 >= f.size())
        return std::nullopt;
    MountedVolume v;
    bool ok = false;
    v.mountId = f.at(0).toInt(&ok);
    if (!ok)
        return std::nullopt;
    v.device = QString::fromLatin1(f.at(2));
    v.mountPoint = UnescapeMountField(f.at(4));
    v.fileSystem = UnescapeMountField(f.at(dash + 1));
    v.source = UnescapeMountField(f.at(dash + 2));
    return std::make_pair(v, UnescapeMountField(f.at(3)));
}

bool IsLetterable(const MountedVolume& v, const QString& fsRoot) {
    if (v.mountPoint == u"/")
        return true;
    return fsRoot == u"/" && v.source.startsWith(QStringLiteral("/dev/")) &&
           !IsPseudoFileSystem(v.fileSystem);
}

std::uint64_t SaturatedProduct(std::uint64_t a, std::uint64_t b) {
    std::uint64_t out = 0;
    if (__builtin_mul_overflow(a, b, &out))
        return std::numeric_limits<std::uint64_t>::max();
    return out;
}

std::int64_t ToSigned(std::uint64_t value) {
    constexpr auto max = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return static_cast<std::int64_t>(std::min(value, max));
}

// A volume's root: its mount point with a trailing '/'.
QString VolumeRoot(const MountedVolume& v) {
    return v.mountPoint.endsWith(u'/') ? v.mountPoint : v.mountPoint + u'/';
}

QString ReadSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.read(256)).trimmed();
}

} // namespace

std::optional<FsStat> SystemFsStat(const QByteArray& path) {
    struct statvfs st {};
    if (::statvfs(path.constData(), &st) != 0)
        return std::nullopt;
    FsStat out;
    out.fragmentSize = st.f_frsize != 0 ? st.f_frsize : st.f_bsize;
    out.blocks = st.f_blocks;
    out.availableBlocks = st.f_bavail;
    return out;
}

QList<MountedVolume> ParseMountInfo(const QByteArray& mountInfo) {
    QList<MountedVolume> volumes;
    QSet<QString> devices;
    for (const QByteArray& line : mountInfo.split('\n')) {
        const auto parsed = ParseMountLine(line);
        if (!parsed)
            continue;
        const MountedVolume& v = parsed->first;
        // A later mount on the same folder hides the earlier one.
        volumes.removeIf([&v](const MountedVolume& o) { return o.mountPoint == v.mountPoint; });
        const bool seen = devices.contains(v.device);
        devices.insert(v.device);
        if (!IsLetterable(v, parsed->second))
            continue;
        if (seen && v.mountPoint != u"/")
            continue; // the same file system again: a bind mount
        volumes.append(v);
    }
    return volumes;
}

struct LinuxDrives::PendingStat {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::optional<FsStat> result;
};

LinuxDrives::LinuxDrives(LinuxDrivesSetup setup) : m_setup(std::move(setup)) {
    if (!m_setup.fsStat)
        m_setup.fsStat = SystemFsStat;
    refresh();
}

void LinuxDrives::refresh() {
    QFile file(m_setup.procRoot + QStringLiteral("/self/mountinfo"));
    const QList<MountedVolume> mounted =
        file.open(QIODevice::ReadOnly) ? ParseMountInfo(file.readAll()) : QList<MountedVolume>();
    // Letters of volumes still mounted stay; the others are freed.
    QMap<QChar, MountedVolume> kept;
    QSet<int> lettered;
    for (auto it = m_volumes.cbegin(); it != m_volumes.cend(); ++it) {
        for (const MountedVolume& v : mounted) {
            if (it.key() != u'C' && v.mountId == it->mountId && v.mountPoint == it->mountPoint) {
                kept.insert(it.key(), v);
                lettered.insert(v.mountId);
            }
        }
    }
    for (const MountedVolume& v : mounted) {
        if (v.mountPoint == u"/") {
            kept.insert(u'C', v);
            continue;
        }
        if (lettered.contains(v.mountId))
            continue;
        for (char16_t c = u'D'; c <= u'Z'; ++c) {
            if (!kept.contains(QChar(c)) && !m_virtual.contains(QChar(c))) {
                kept.insert(QChar(c), v);
                break;
            }
        }
    }
    m_volumes = kept;
}

std::optional<MountedVolume> LinuxDrives::volumeOf(QChar letter) {
    refresh();
    const QChar l = DriveLetterOf(letter);
    if (const auto virt = m_virtual.constFind(l); virt != m_virtual.cend()) {
        QChar best;
        qsizetype bestLength = -1;
        for (auto it = m_volumes.cbegin(); it != m_volumes.cend(); ++it) {
            const qsizetype length = RootCoverLength(virt.value(), VolumeRoot(it.value()));
            if (length > bestLength) {
                best = it.key();
                bestLength = length;
            }
        }
        if (best.isNull())
            return std::nullopt;
        return m_volumes.value(best);
    }
    const auto it = m_volumes.constFind(l);
    if (it == m_volumes.cend())
        return std::nullopt;
    return it.value();
}

QString LinuxDrives::statPathOf(QChar letter) {
    const QChar l = DriveLetterOf(letter);
    if (m_virtual.contains(l))
        return m_virtual.value(l);
    const std::optional<MountedVolume> v = volumeOf(l);
    return v ? v->mountPoint : QString();
}

std::optional<FsStat> LinuxDrives::timedStat(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    if (const auto it = m_pending.constFind(path); it != m_pending.cend()) {
        std::lock_guard lock(it.value()->mutex);
        if (!it.value()->done)
            return std::nullopt; // the last query of this folder still hangs
    }
    auto pending = std::make_shared<PendingStat>();
    try {
        std::thread([pending, stat = m_setup.fsStat, name = QFile::encodeName(path)] {
            const std::optional<FsStat> result = stat(name);
            const std::lock_guard lock(pending->mutex);
            pending->result = result;
            pending->done = true;
            pending->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    std::unique_lock lock(pending->mutex);
    if (!pending->finished.wait_for(lock, m_setup.queryTimeout, [&] { return pending->done; })) {
        m_pending.insert(path, pending);
        return std::nullopt;
    }
    m_pending.remove(path);
    return pending->result;
}

QString LinuxDrives::devicePath(const QString& source) const {
    if (!source.startsWith(QStringLiteral("/dev/")))
        return QString();
    const QString path = QDir::cleanPath(m_setup.devRoot + source.mid(4));
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? path : real;
}

bool LinuxDrives::isRemovable(const MountedVolume& volume) const {
    const QString sysRoot = QFileInfo(m_setup.sysRoot).canonicalFilePath();
    QString node = QFileInfo(m_setup.sysRoot + QStringLiteral("/dev/block/") + volume.device)
                       .canonicalFilePath();
    if (node.isEmpty() && !volume.source.isEmpty()) {
        const QString name = QFileInfo(devicePath(volume.source)).fileName();
        node =
            QFileInfo(m_setup.sysRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    }
    if (node.isEmpty() || sysRoot.isEmpty())
        return false;
    // A partition's flags are those of the disk holding it.
    if (QFileInfo::exists(node + QStringLiteral("/partition")))
        node = QFileInfo(node).path();
    if (ReadSmallFile(node + QStringLiteral("/removable")) == u"1")
        return true;
    const QStringList parts = node.mid(sysRoot.size()).split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part.startsWith(QStringLiteral("usb")) || part.startsWith(QStringLiteral("mmc")))
            return true;
    }
    return false;
}

QString LinuxDrives::labelOf(const MountedVolume& volume) const {
    const QString device = devicePath(volume.source);
    if (device.isEmpty())
        return QString();
    const QDir byLabel(m_setup.devRoot + QStringLiteral("/disk/by-label"));
    const QFileInfoList links = byLabel.entryInfoList(QDir::AllEntries | QDir::System |
                                                      QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& link : links) {
        const QString target = link.canonicalFilePath();
        const QString written = QDir::cleanPath(link.symLinkTarget());
        if (target == device || written == device)
            return UnescapeUdevName(link.fileName());
    }
    return QString();
}

QList<QChar> LinuxDrives::drives() {
    refresh();
    QList<QChar> out = m_volumes.keys();
    for (auto it = m_virtual.cbegin(); it != m_virtual.cend(); ++it)
        out.append(it.key());
    std::sort(out.begin(), out.end());
    return out;
}

DriveType LinuxDrives::driveType(QChar letter) {
    const std::optional<MountedVolume> v = volumeOf(letter);
    if (!v)
        return DriveType::NoSuchDrive;
    return isRemovable(*v) ? DriveType::Removable : DriveType::Fixed;
}

std::optional<VolumeInfo> LinuxDrives::volumeInfo(QChar letter) {
    const std::optional<MountedVolume> v = volumeOf(letter);
    if (!v)
        return std::nullopt;
    return VolumeInfo{labelOf(*v), v->fileSystem};
}

std::optional<ClusterSpace> LinuxDrives::clusterSpace(QChar letter) {
    const std::optional<FsStat> st = timedStat(statPathOf(letter));
    if (!st)
        return std::nullopt;
    ClusterSpace space;
    if (st->fragmentSize >= 512 && st->fragmentSize % 512 == 0) {
        space.bytesPerSector = 512;
        space.sectorsPerCluster = st->fragmentSize / 512;
    } else {
        space.bytesPerSector = st->fragmentSize;
        space.sectorsPerCluster = 1;
    }
    space.totalClusters = st->blocks;
    space.freeClusters = st->availableBlocks;
    return space;
}

std::optional<ByteSpace> LinuxDrives::byteSpace(QChar letter) {
    const std::optional<FsStat> st = timedStat(statPathOf(letter));
    if (!st)
        return std::nullopt;
    return ByteSpace{ToSigned(SaturatedProduct(st->blocks, st->fragmentSize)),
                     ToSigned(SaturatedProduct(st->availableBlocks, st->fragmentSize))};
}

bool LinuxDrives::isReady(QChar letter) {
    return timedStat(statPathOf(letter)).has_value();
}

QChar LinuxDrives::driveOfPath(const QString& path) {
    refresh();
    const QString real = RealFolderPath(path);
    QChar best;
    qsizetype bestLength = -1;
    for (auto it = m_volumes.cbegin(); it != m_volumes.cend(); ++it) {
        const qsizetype length = RootCoverLength(real, VolumeRoot(it.value()));
        if (length > bestLength) {
            best = it.key();
            bestLength = length;
        }
    }
    for (auto it = m_virtual.cbegin(); it != m_virtual.cend(); ++it) {
        const qsizetype length = RootCoverLength(real, it.value());
        if (length >= 0 && length >= bestLength) {
            best = it.key();
            bestLength = length;
        }
    }
    return best;
}

QString LinuxDrives::rootOf(QChar letter) {
    refresh();
    const QChar l = DriveLetterOf(letter);
    if (m_virtual.contains(l))
        return m_virtual.value(l);
    const auto it = m_volumes.constFind(l);
    return it == m_volumes.cend() ? QString() : VolumeRoot(it.value());
}

bool LinuxDrives::registerVirtualDrive(QChar letter, const QString& folder) {
    refresh();
    const QChar l = DriveLetterOf(letter);
    if (l.isNull() || m_volumes.contains(l) || m_virtual.contains(l) || !QFileInfo(folder).isDir())
        return false;
    QString real = RealFolderPath(folder);
    m_virtual.insert(l, real.endsWith(u'/') ? real : real + u'/');
    return true;
}

bool LinuxDrives::removeVirtualDrive(QChar letter) {
    return m_virtual.remove(DriveLetterOf(letter)) > 0;
}
