#include "transfer/copyrun.h"

#include <QFileInfo>
#include <algorithm>

namespace {

constexpr std::int64_t BlockSize = 1024 * 1024;

QString ParentOf(const QString& path) {
    return QFileInfo(path).path();
}

} // namespace

CopyRun::CopyRun(CopyFileLayer& files, CopyBatchLimits limits, const CopyRequest& request,
                 CopyObserver& observer)
    : m_files(files), m_limits(limits), m_request(request), m_observer(observer),
      m_source(WithoutTrailingSeparator(request.source)),
      m_destination(WithoutTrailingSeparator(request.destination)) {
}

CopyResult CopyRun::execute() {
    if (!prepare())
        return m_result;
    m_start = std::chrono::steady_clock::now();
    m_buffer.resize(BlockSize);
    for (const CopyPlanItem& item : m_plan.items) {
        if (m_result.cancelled)
            break;
        copyItem(item);
    }
    if (m_result.cancelled)
        discardBatch();
    else
        commitBatch();
    // What was renamed reaches the device before the copy reports its end.
    FileFault fault;
    m_files.syncFileSystem(m_destination, fault);
    m_progress.currentFile.clear();
    sendProgress();
    return m_result;
}

bool CopyRun::prepare() {
    const EntryKind kind = m_files.status(m_source).kind;
    if (kind != EntryKind::Folder &&
        (kind != EntryKind::Link || m_files.canonicalPath(m_source).isEmpty()))
        return refuse(QStringLiteral("The folder %1 does not exist.").arg(m_request.source));
    const QString nesting = NestingRefusal(m_files, m_source, m_destination);
    if (!nesting.isEmpty())
        return refuse(nesting);
    if (!ScanCopySource(m_files, m_source, m_plan, m_observer)) {
        m_result.cancelled = true;
        return false;
    }
    m_result.filesTotal = m_progress.filesTotal = m_plan.files;
    m_result.bytesTotal = m_progress.bytesTotal = m_plan.bytes;
    const QString space = SpaceRefusal(m_files, m_plan, m_destination);
    if (!space.isEmpty())
        return refuse(space);
    for (const CopyFailure& failure : m_plan.unreadable) {
        m_result.failures.append(failure);
        ++m_result.failed;
    }
    enterFolder(QString());
    return !m_result.cancelled;
}

bool CopyRun::refuse(const QString& text) {
    m_result.refused = true;
    m_result.refusal = text;
    return false;
}

// Creates a missing destination folder (and, for the destination itself, the folders
// above it), or clears an existing one of temporary files an interrupted copy left behind.
void CopyRun::enterFolder(const QString& relative) {
    const QString folder = JoinCopyPath(m_destination, relative);
    if (m_files.status(folder).kind == EntryKind::Folder) {
        removeStaleTemps(folder);
        return;
    }
    QStringList missing{folder};
    if (relative.isEmpty()) {
        for (QString up = ParentOf(folder);
             up != missing.last() && m_files.status(up).kind == EntryKind::Missing;
             up = ParentOf(up))
            missing.append(up);
    }
    for (qsizetype i = missing.size() - 1; i >= 0; --i) {
        QString reason;
        if (!makeFolderAsking(missing[i], reason)) {
            if (!m_result.cancelled)
                skipFolderContents(relative, folder, reason);
            return;
        }
    }
}

bool CopyRun::makeFolderAsking(const QString& folder, QString& reason) {
    for (;;) {
        FileFault fault;
        if (m_files.makeFolder(folder, fault))
            return true;
        reason = fault.text;
        const ErrorAnswer answer = m_observer.askError(folder, reason);
        if (answer == ErrorAnswer::Cancel)
            m_result.cancelled = true;
        if (answer != ErrorAnswer::Retry)
            return false;
    }
}

void CopyRun::removeStaleTemps(const QString& folder) {
    QList<FileEntry> entries;
    FileFault fault;
    if (!m_files.listFolder(folder, entries, fault))
        return;
    for (const FileEntry& entry : entries) {
        if (entry.kind == EntryKind::File && IsCopyTempName(entry.name))
            m_files.removeFile(JoinCopyPath(folder, entry.name));
    }
}

void CopyRun::copyItem(const CopyPlanItem& item) {
    for (const QString& skipped : m_skippedFolders) {
        if (skipped.isEmpty() || item.relative.startsWith(skipped + u'/'))
            return;
    }
    switch (item.entry.kind) {
    case EntryKind::Folder:
        enterFolder(item.relative);
        return;
    case EntryKind::File:
        copyFile(item);
        return;
    case EntryKind::Link:
        m_result.skippedFiles.append(JoinCopyPath(m_source, item.relative));
        ++m_result.skipped;
        return;
    case EntryKind::Other:
    case EntryKind::Missing:
        m_result.failures.append(
            {JoinCopyPath(m_source, item.relative), QStringLiteral("Not a regular file")});
        ++m_result.failed;
        return;
    }
}

// The files below a folder that could not be made fail with the folder's reason (the
// folder itself fails when it holds no file).
void CopyRun::skipFolderContents(const QString& relative, const QString& folder,
                                 const QString& reason) {
    m_skippedFolders.append(relative);
    bool any = false;
    for (const CopyPlanItem& item : m_plan.items) {
        if (item.entry.kind != EntryKind::File ||
            !(relative.isEmpty() || item.relative.startsWith(relative + u'/')))
            continue;
        any = true;
        m_result.failures.append(
            {JoinCopyPath(m_source, item.relative), QStringLiteral("%1: %2").arg(folder, reason)});
        ++m_result.failed;
        fileFinished(item.entry.size);
    }
    if (!any) {
        m_result.failures.append({folder, reason});
        ++m_result.failed;
    }
}

void CopyRun::copyFile(const CopyPlanItem& item) {
    const QString source = JoinCopyPath(m_source, item.relative);
    const QString target = JoinCopyPath(m_destination, item.relative);
    const QString temp = JoinCopyPath(ParentOf(target), CopyTempName(item.entry.name));
    m_progress.currentFile = source;
    sendProgress();
    bool replacing = false;
    if (!checkTarget(item, target, replacing))
        return;
    for (;;) {
        QString failedPath;
        FileFault fault;
        const Outcome outcome = writeTemp(source, temp, item.entry, failedPath, fault);
        if (outcome == Outcome::Cancelled)
            return;
        if (outcome == Outcome::Done) {
            m_pending.append({temp, target, item.entry.size, replacing});
            m_pendingBytes += item.entry.size;
            fileFinished(item.entry.size);
            if (m_pending.size() >= m_limits.files || m_pendingBytes >= m_limits.bytes)
                commitBatch();
            return;
        }
        if (reportError(failedPath, fault.text) != ErrorAnswer::Retry) {
            if (!m_result.cancelled)
                fileFinished(item.entry.size);
            return;
        }
    }
}

// False when the file is not to be copied: a folder stands in the way, the user keeps the
// existing file, or the copy was cancelled.
bool CopyRun::checkTarget(const CopyPlanItem& item, const QString& target, bool& replacing) {
    for (;;) {
        const FileEntry existing = m_files.status(target);
        if (existing.kind == EntryKind::Folder || existing.kind == EntryKind::Other) {
            if (reportError(target, QStringLiteral("A folder or special file of that name "
                                                   "is in the way")) == ErrorAnswer::Retry)
                continue;
            if (!m_result.cancelled)
                fileFinished(item.entry.size);
            return false;
        }
        replacing = existing.kind != EntryKind::Missing;
        return !replacing || decideConflict(item, existing);
    }
}

// False when the file is not to be copied (kept, or the copy cancelled).
bool CopyRun::decideConflict(const CopyPlanItem& item, const FileEntry& existing) {
    if (m_request.replaceWithoutAsking || m_replaceAll)
        return true;
    ConflictAnswer answer = ConflictAnswer::SkipAll;
    if (!m_skipAll)
        answer = m_observer.askConflict(JoinCopyPath(m_destination, item.relative), item.entry,
                                        existing);
    switch (answer) {
    case ConflictAnswer::ReplaceAll:
        m_replaceAll = true;
        return true;
    case ConflictAnswer::Replace:
        return true;
    case ConflictAnswer::SkipAll:
        m_skipAll = true;
        [[fallthrough]];
    case ConflictAnswer::Skip:
        skipFile(JoinCopyPath(m_source, item.relative), item.entry.size);
        return false;
    case ConflictAnswer::Cancel:
        break;
    }
    m_result.cancelled = true;
    return false;
}

CopyRun::Outcome CopyRun::writeTemp(const QString& source, const QString& temp,
                                    const FileEntry& entry, QString& failedPath, FileFault& fault) {
    failedPath = source;
    const int in = m_files.openSource(source, fault);
    if (in < 0)
        return Outcome::Failed;
    failedPath = JoinCopyPath(ParentOf(temp), QFileInfo(source).fileName());
    const int out = m_files.createTarget(temp, fault);
    if (out < 0) {
        m_files.close(in);
        return Outcome::Failed;
    }
    Outcome outcome = pumpBytes(in, out, source, temp, failedPath, fault);
    if (outcome == Outcome::Done && !m_files.setTimes(out, entry, fault))
        outcome = Outcome::Failed;
    m_files.close(in);
    m_files.close(out);
    if (outcome != Outcome::Done)
        m_files.removeFile(temp);
    return outcome;
}

CopyRun::Outcome CopyRun::pumpBytes(int in, int out, const QString& source, const QString& temp,
                                    QString& failedPath, FileFault& fault) {
    (void)temp;
    const QString target = failedPath;
    std::int64_t written = 0;
    for (;;) {
        if (m_observer.cancelRequested()) {
            m_result.cancelled = true;
            return Outcome::Cancelled;
        }
        failedPath = source;
        const std::int64_t got = m_files.read(in, m_buffer.data(), BlockSize, fault);
        if (got < 0)
            return Outcome::Failed;
        if (got == 0)
            return Outcome::Done;
        failedPath = target;
        if (!m_files.write(out, m_buffer.data(), got, fault))
            return Outcome::Failed;
        written += got;
        m_progress.bytesDone = m_bytesBase + written;
        sendProgress();
    }
}
