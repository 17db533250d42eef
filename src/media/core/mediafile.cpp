#include "media/core/mediafile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void SetReason(QString* reason, const QString& text) {
    if (reason)
        *reason = text;
}

QString ErrnoText(int error) {
    if (error == ENOENT)
        return QStringLiteral("the file does not exist");
    if (error == EACCES)
        return QStringLiteral("permission to read it is denied");
    return QStringLiteral("it cannot be read (%1)").arg(QString::fromLocal8Bit(strerror(error)));
}

} // namespace

int OpenMediaFile(const QString& path, QString* reason) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetReason(reason, ErrnoText(errno));
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        SetReason(reason, S_ISDIR(info.st_mode) ? QStringLiteral("it is a folder")
                                                : QStringLiteral("it is not a regular file"));
        return -1;
    }
    return fd;
}

bool ReadMediaFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString* reason) {
    const int fd = OpenMediaFile(path, reason);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0;
    if (ok && info.st_size > maxBytes) {
        SetReason(reason, QStringLiteral("it is too large"));
        ok = false;
    }
    bytes.clear();
    char block[65536];
    while (ok) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            SetReason(reason, ErrnoText(errno));
            ok = false;
        } else if (got == 0) {
            break;
        } else if (bytes.size() + got > maxBytes) { // grew while being read
            SetReason(reason, QStringLiteral("it is too large"));
            ok = false;
        } else {
            bytes.append(block, got);
        }
    }
    ::close(fd);
    return ok;
}

QString CannotPlayText(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot play \"%1\": %2.").arg(path, reason);
}
