#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

// The file operations the copy engine needs, behind a small interface so that tests can
// make any of them fail (a full disk, a read error, a vanished source, a refused name).
// Paths are native; a handle is a file descriptor (or any number a fake hands out).

// Why an operation failed: the system's error number and its text.
struct FileFault {
    int code = 0;
    QString text;
};

enum class EntryKind { Missing, File, Folder, Link, Other };

// What a folder listing or a status query tells of one entry (never following a link).
struct FileEntry {
    QString name; // the entry's own name (empty for a status query)
    EntryKind kind = EntryKind::Missing;
    std::int64_t size = 0;
    std::int64_t mtimeSec = 0;
    std::int64_t mtimeNsec = 0;
    unsigned mode = 0644; // permission bits
};

class CopyFileLayer {
public:
    virtual ~CopyFileLayer() = default;

    virtual FileEntry status(const QString& path) = 0;
    // Every entry but "." and "..", hidden ones included.
    virtual bool listFolder(const QString& folder, QList<FileEntry>& entries, FileFault& fault) = 0;
    virtual bool makeFolder(const QString& path, FileFault& fault) = 0;

    // -1 on failure. A source is opened only when it is a regular file.
    virtual int openSource(const QString& path, FileFault& fault) = 0;
    // Creates or truncates the file for writing; -1 on failure.
    virtual int createTarget(const QString& path, FileFault& fault) = 0;
    // Bytes read, 0 at the end, -1 on failure.
    virtual std::int64_t read(int handle, char* buffer, std::int64_t size, FileFault& fault) = 0;
    virtual bool write(int handle, const char* data, std::int64_t size, FileFault& fault) = 0;
    // Gives a written file the source's permission bits and modification time.
    virtual bool setTimes(int handle, const FileEntry& source, FileFault& fault) = 0;
    virtual void close(int handle) = 0;

    // Flushes one file (or folder) to the device.
    virtual bool syncPath(const QString& path, FileFault& fault) = 0;
    // Flushes every written file of the file system holding `folder`.
    virtual bool syncFileSystem(const QString& folder, FileFault& fault) = 0;
    // Replaces `to` by `from` in one step.
    virtual bool rename(const QString& from, const QString& to, FileFault& fault) = 0;
    virtual bool removeFile(const QString& path) = 0;

    // Bytes free for the user on the file system holding `folder`.
    virtual std::optional<std::int64_t> freeBytes(const QString& folder) = 0;
    // The path with links resolved; empty when it does not exist.
    virtual QString canonicalPath(const QString& path) = 0;
};

// The real file system (POSIX calls).
class PosixCopyFileLayer : public CopyFileLayer {
public:
    FileEntry status(const QString& path) override;
    bool listFolder(const QString& folder, QList<FileEntry>& entries, FileFault& fault) override;
    bool makeFolder(const QString& path, FileFault& fault) override;
    int openSource(const QString& path, FileFault& fault) override;
    int createTarget(const QString& path, FileFault& fault) override;
    std::int64_t read(int handle, char* buffer, std::int64_t size, FileFault& fault) override;
    bool write(int handle, const char* data, std::int64_t size, FileFault& fault) override;
    bool setTimes(int handle, const FileEntry& source, FileFault& fault) override;
    void close(int handle) override;
    bool syncPath(const QString& path, FileFault& fault) override;
    bool syncFileSystem(const QString& folder, FileFault& fault) override;
    bool rename(const QString& from, const QString& to, FileFault& fault) override;
    bool removeFile(const QString& path) override;
    std::optional<std::int64_t> freeBytes(const QString& folder) override;
    QString canonicalPath(const QString& path) override;
};

// The fault of an error number, with the system's text.
FileFault FaultOf(int code);
