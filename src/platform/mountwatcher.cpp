#include "platform/mountwatcher.h"

#include <QFile>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool SameVolume(const MountedVolume& a, const MountedVolume& b) {
    return a.mountId == b.mountId && a.device == b.device && a.mountPoint == b.mountPoint &&
           a.fileSystem == b.fileSystem && a.source == b.source;
}

bool SameVolumes(const QList<MountedVolume>& a, const QList<MountedVolume>& b) {
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), SameVolume);
}

// Opens without blocking on a FIFO or device; -1 when it cannot be opened.
int OpenForReading(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

QByteArray ReadMountTable(const QString& path, qint64 limit) {
    const int fd = OpenForReading(path);
    if (fd < 0)
        return QByteArray();
    QByteArray text;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        // /proc files report a size of 0: read until the end rather than by the size.
        char buffer[8192];
        while (text.size() < limit) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                if (got < 0)
                    text.clear();
                break;
            }
            text.append(buffer, static_cast<qsizetype>(got));
        }
    }
    ::close(fd);
    return text.left(limit);
}

MountWatcher::MountWatcher(const QString& mountInfoPath, QObject* parent)
    : DriveWatcher(parent), m_path(mountInfoPath) {
    m_volumes = ParseMountInfo(ReadMountTable(m_path));
    m_fd = OpenForReading(m_path);
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountWatcher::recheck);
}

MountWatcher::~MountWatcher() {
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

void MountWatcher::recheck() {
    // A table that cannot be read says nothing about the volumes: the last read stands.
    const QByteArray text = ReadMountTable(m_path);
    ++m_reads;
    if (text.isEmpty())
        return;
    QList<MountedVolume> volumes = ParseMountInfo(text);
    if (SameVolumes(volumes, m_volumes))
        return;
    m_volumes = std::move(volumes);
    announceChange();
}
