#pragma once

#include "platform/drivewatcher.h"
#include "platform/linuxdrives.h"

#include <QList>
#include <QString>

class QSocketNotifier;

// Watches the mount table. The kernel marks /proc/self/mountinfo with a priority event
// whenever a file system is mounted or unmounted; the watcher then reads the table again
// and announces a change when the volumes the drive table letters differ from those of the
// last read (a mount of a pseudo file system is not a change). No timer polls the table.
// Another path (a plain file) can stand in for the table: it gives no events, and
// recheck() reads it again.
class MountWatcher : public DriveWatcher {
    Q_OBJECT
public:
    explicit MountWatcher(const QString& mountInfoPath = QStringLiteral("/proc/self/mountinfo"),
                          QObject* parent = nullptr);
    ~MountWatcher() override;

    // True when the table is open and its events are watched.
    bool isWatching() const { return m_notifier != nullptr; }
    // The volumes of the last read, in mount order.
    const QList<MountedVolume>& volumes() const { return m_volumes; }

    // How many times the table has been read (once at construction, once per event or
    // recheck).
    int reads() const { return m_reads; }

    // Reads the table again; announces a change when its volumes differ. A table that
    // cannot be read (or reads empty) is no change.
    void recheck();

private:
    QString m_path;
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QList<MountedVolume> m_volumes;
    int m_reads = 1;
};

// The table's text, read at once from a regular file (or a /proc file, which reports as
// one); empty for anything else or a failed read. At most `limit` bytes are read.
QByteArray ReadMountTable(const QString& path, qint64 limit = 16 * 1024 * 1024);
