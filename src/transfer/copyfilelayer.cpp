#include "transfer/copyfilelayer.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

FileEntry EntryOfStat(const struct stat& st) {
    FileEntry entry;
    if (S_ISREG(st.st_mode))
        entry.kind = EntryKind::File;
    else if (S_ISDIR(st.st_mode))
        entry.kind = EntryKind::Folder;
    else if (S_ISLNK(st.st_mode))
        entry.kind = EntryKind::Link;
    else
        entry.kind = EntryKind::Other;
    entry.size = st.st_size;
    entry.mtimeSec = st.st_mtim.tv_sec;
    entry.mtimeNsec = st.st_mtim.tv_nsec;
    entry.mode = st.st_mode & 07777;
    return entry;
}

bool Failed(FileFault& fault) {
    fault = FaultOf(errno);
    return false;
}

int FailedHandle(FileFault& fault) {
    fault = FaultOf(errno);
    return -1;
}

} // namespace

FileFault FaultOf(int code) {
    return {code, QString::fromLocal8Bit(std::strerror(code))};
}

FileEntry PosixCopyFileLayer::status(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return EntryOfStat(st);
}

bool PosixCopyFileLayer::listFolder(const QString& folder, QList<FileEntry>& entries,
                                    FileFault& fault) {
    entries.clear();
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return Failed(fault);
    const int dirFd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(dir);
        if (!item)
            break;
        const char* name = item->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st {};
        if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since the listing
        FileEntry entry = EntryOfStat(st);
        entry.name = QFile::decodeName(name);
        entries.append(entry);
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0) {
        fault = FaultOf(error);
        return false;
    }
    return true;
}

bool PosixCopyFileLayer::makeFolder(const QString& path, FileFault& fault) {
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return true;
    if (errno == EEXIST && status(path).kind == EntryKind::Folder)
        return true;
    return Failed(fault);
}

int PosixCopyFileLayer::openSource(const QString& path, FileFault& fault) {
    // O_NONBLOCK: a FIFO or device put in place of the file never blocks the copy.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return FailedHandle(fault);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISREG(st.st_mode) ? errno : EINVAL;
        ::close(fd);
        fault = FaultOf(error);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return fd;
}

int PosixCopyFileLayer::createTarget(const QString& path, FileFault& fault) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    return fd < 0 ? FailedHandle(fault) : fd;
}

std::int64_t PosixCopyFileLayer::read(int handle, char* buffer, std::int64_t size,
                                      FileFault& fault) {
    for (;;) {
        const ssize_t got = ::read(handle, buffer, static_cast<size_t>(size));
        if (got >= 0)
            return got;
        if (errno != EINTR)
            return FailedHandle(fault);
    }
}

bool PosixCopyFileLayer::write(int handle, const char* data, std::int64_t size, FileFault& fault) {
    while (size > 0) {
        const ssize_t put = ::write(handle, data, static_cast<size_t>(size));
        if (put < 0 && errno == EINTR)
            continue;
        if (put == 0)
            errno = ENOSPC;
        if (put <= 0)
            return Failed(fault);
        data += put;
        size -= put;
    }
    return true;
}

bool PosixCopyFileLayer::setTimes(int handle, const FileEntry& source, FileFault& fault) {
    // File systems without permission bits (FAT) refuse or ignore fchmod; that is no error.
    (void)::fchmod(handle, source.mode & 0777);
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(source.mtimeSec);
    times[1].tv_nsec = static_cast<long>(source.mtimeNsec);
    return ::futimens(handle, times) == 0 || Failed(fault);
}

void PosixCopyFileLayer::close(int handle) {
    ::close(handle);
}

bool PosixCopyFileLayer::syncPath(const QString& path, FileFault& fault) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Failed(fault);
    const bool ok = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok)
        fault = FaultOf(error);
    return ok;
}

bool PosixCopyFileLayer::syncFileSystem(const QString& folder, FileFault& fault) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Failed(fault);
    const bool ok = ::syncfs(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok)
        fault = FaultOf(error);
    return ok;
}

bool PosixCopyFileLayer::rename(const QString& from, const QString& to, FileFault& fault) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ||
           Failed(fault);
}

bool PosixCopyFileLayer::removeFile(const QString& path) {
    return ::unlink(QFile::encodeName(path).constData()) == 0;
}

std::optional<std::int64_t> PosixCopyFileLayer::freeBytes(const QString& folder) {
    struct statvfs st {};
    if (::statvfs(QFile::encodeName(folder).constData(), &st) != 0)
        return std::nullopt;
    return static_cast<std::int64_t>(st.f_bavail) * static_cast<std::int64_t>(st.f_frsize);
}

QString PosixCopyFileLayer::canonicalPath(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}
