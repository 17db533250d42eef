#pragma once

#include "transfer/copyfilelayer.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>

// Copies the contents of a folder into another folder, sub-folders included, so that no
// file is ever lost or left half-written: each file is written under a temporary name
// beside its target, flushed to the device and only then renamed over the target (keeping
// the source's modification time). Until that rename an existing target stays whole; a
// cancel or an error removes the temporary file, and a later copy into the same folder
// removes temporary files a crash left behind. Symbolic links are not followed and are
// reported as skipped. Before anything is copied, a destination inside the source and a
// copy that does not fit in the destination's free space are refused.

struct CopyRequest {
    QString source;      // the folder whose contents are copied
    QString destination; // the folder they are copied into (created when missing)
    bool replaceWithoutAsking = false;
};

// Where the copy stands; totals are counted before the first file is copied.
struct CopyProgress {
    int filesDone = 0;
    int filesTotal = 0;
    std::int64_t bytesDone = 0;
    std::int64_t bytesTotal = 0;
    QString currentFile; // source path of the file being copied
    double bytesPerSecond = 0;
};

struct CopyFailure {
    QString path;
    QString reason;
};

// What a copy did.
struct CopyResult {
    int copied = 0;   // new files
    int replaced = 0; // files written over an existing one
    int skipped = 0;  // existing files kept, links, files the user chose to skip
    int failed = 0;
    QList<CopyFailure> failures; // each failed file with its reason
    QStringList skippedFiles;    // each skipped source path
    std::int64_t bytesWritten = 0;
    bool cancelled = false;
    bool refused = false; // nothing was copied; `refusal` says why
    QString refusal;
    int filesTotal = 0;
    std::int64_t bytesTotal = 0;

    // Every file counted was copied or replaced: nothing skipped, failed, cancelled, refused.
    bool complete() const { return !refused && !cancelled && skipped == 0 && failed == 0; }
};

enum class ConflictAnswer { Replace, ReplaceAll, Skip, SkipAll, Cancel };
enum class ErrorAnswer { Retry, Skip, Cancel };

// The caller's side of a copy. The engine calls these on the thread it runs on.
class CopyObserver {
public:
    virtual ~CopyObserver() = default;
    virtual void progress(const CopyProgress& progress) { (void)progress; }
    // `target` exists; asked only when the request does not replace without asking.
    virtual ConflictAnswer askConflict(const QString& target, const FileEntry& source,
                                       const FileEntry& existing) = 0;
    // A file (or folder) could not be copied: its path and the system's error text.
    virtual ErrorAnswer askError(const QString& path, const QString& reason) = 0;
    // Polled between blocks of at most a megabyte.
    virtual bool cancelRequested() = 0;
};

// Anything that copies a folder's contents (the engine, or a fake in window tests).
class FolderCopier {
public:
    virtual ~FolderCopier() = default;
    virtual CopyResult copy(const CopyRequest& request, CopyObserver& observer) = 0;
};

// The name of the temporary file beside `name` ("." + "sorvane-" ... ".part"), and whether a
// name is such a temporary name.
QString CopyTempName(const QString& name);
bool IsCopyTempName(const QString& name);

// Up to how much is written before the file system is flushed and the files renamed.
struct CopyBatchLimits {
    int files = 2048;
    std::int64_t bytes = 128LL * 1024 * 1024;
};

class CopyEngine : public FolderCopier {
public:
    explicit CopyEngine(CopyFileLayer& files, CopyBatchLimits limits = {})
        : m_files(files), m_limits(limits) {}

    CopyResult copy(const CopyRequest& request, CopyObserver& observer) override;

private:
    CopyFileLayer& m_files;
    CopyBatchLimits m_limits;
};
