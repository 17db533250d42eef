#include "card/fileimage.h"

#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool IsRegularFile(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat info {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0 &&
           S_ISREG(info.st_mode);
#else
    return QFileInfo(path).isFile();
#endif
}

bool OpenRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode) {
    file.close();
    // The type is looked at first, so that a device node is never even opened.
    if (!IsRegularFile(path))
        return false;
#ifdef Q_OS_UNIX
    const int access = mode.testFlag(QIODevice::WriteOnly) ? O_RDWR : O_RDONLY;
    // Non-blocking, so that a node swapped in since the look cannot hang the open.
    const int fd =
        ::open(QFile::encodeName(path).constData(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, mode | QIODevice::ExistingOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    file.setFileName(path);
    return file.open(mode | QIODevice::ExistingOnly);
#endif
}

qint64 ReadFileImage(const QString& path, std::span<std::uint8_t> image, qint64 offset) {
    std::fill(image.begin(), image.end(), std::uint8_t{0});
#ifdef Q_OS_UNIX
    // Plain descriptor calls: this runs for every song of a card at each folder load.
    if (!IsRegularFile(path) || offset < 0)
        return -1;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    qint64 got = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        got = 0;
        while (got < static_cast<qint64>(image.size())) {
            const ssize_t n = ::pread(fd, image.data() + got, image.size() - got, offset + got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                got = n < 0 ? -1 : got;
                break;
            }
            got += n;
        }
    }
    ::close(fd);
#else
    QFile file;
    if (!OpenRegularFile(file, path, QIODevice::ReadOnly))
        return -1;
    if (offset != 0 && !file.seek(offset))
        return -1;
    const qint64 got =
        file.read(reinterpret_cast<char*>(image.data()), static_cast<qint64>(image.size()));
#endif
    if (got < 0)
        std::fill(image.begin(), image.end(), std::uint8_t{0});
    return got;
}

std::optional<QByteArray> ReadWholeRegularFile(const QString& path, qint64 maxBytes,
                                               bool* tooLarge) {
    if (tooLarge)
        *tooLarge = false;
    QFile file;
    if (!OpenRegularFile(file, path, QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    if (size > maxBytes) {
        if (tooLarge)
            *tooLarge = true;
        return std::nullopt;
    }
    // The buffer is sized by the file, not by the limit: asking for the limit would set aside
    // megabytes for every small file. One byte more than the size is asked for, so that a
    // file grown since is read on, up to one byte past the limit, and refused if it passes it.
    const qint64 want = size + 1;
    QByteArray bytes = file.read(want);
    if (bytes.size() == want)
        bytes += file.read(maxBytes + 1 - want);
    if (bytes.size() > maxBytes) {
        if (tooLarge)
            *tooLarge = true;
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}
