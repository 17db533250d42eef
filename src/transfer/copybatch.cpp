// The second half of a copy run: flushing the written files and renaming them over their
// targets, and the counters and questions every step shares.

#include "transfer/copyrun.h"

// Flushes the file system once for the whole batch (far cheaper than one flush per file),
// then renames each file over its target. Returns false when the copy was cancelled.
bool CopyRun::commitBatch() {
    if (m_pending.isEmpty())
        return true;
    FileFault fault;
    const bool flushed = m_files.syncFileSystem(m_destination, fault);
    for (qsizetype i = 0; i < m_pending.size(); ++i) {
        const Pending& pending = m_pending[i];
        if ((!flushed && !flushPending(pending)) || !renamePending(pending)) {
            m_files.removeFile(pending.temp);
            if (m_result.cancelled) {
                discardBatch(i + 1);
                return false;
            }
        }
    }
    m_pending.clear();
    m_pendingBytes = 0;
    return true;
}

bool CopyRun::flushPending(const Pending& pending) {
    for (;;) {
        FileFault fault;
        if (m_files.syncPath(pending.temp, fault))
            return true;
        if (reportError(pending.target, fault.text) != ErrorAnswer::Retry)
            return false;
    }
}

bool CopyRun::renamePending(const Pending& pending) {
    for (;;) {
        FileFault fault;
        if (m_files.rename(pending.temp, pending.target, fault)) {
            ++(pending.replacing ? m_result.replaced : m_result.copied);
            m_result.bytesWritten += pending.size;
            return true;
        }
        if (reportError(pending.target, fault.text) != ErrorAnswer::Retry)
            return false;
    }
}

// Removes the written files not yet renamed; their targets stay as they were.
void CopyRun::discardBatch(qsizetype from) {
    for (qsizetype i = from; i < m_pending.size(); ++i)
        m_files.removeFile(m_pending[i].temp);
    m_pending.clear();
    m_pendingBytes = 0;
}

ErrorAnswer CopyRun::reportError(const QString& path, const QString& reason) {
    const ErrorAnswer answer = m_observer.askError(path, reason);
    if (answer == ErrorAnswer::Skip) {
        m_result.failures.append({path, reason});
        ++m_result.failed;
    } else if (answer == ErrorAnswer::Cancel) {
        m_result.cancelled = true;
    }
    return answer;
}

void CopyRun::fileFinished(std::int64_t size) {
    ++m_progress.filesDone;
    m_bytesBase += size;
    m_progress.bytesDone = m_bytesBase;
    sendProgress();
}

void CopyRun::skipFile(const QString& path, std::int64_t size) {
    m_result.skippedFiles.append(path);
    ++m_result.skipped;
    fileFinished(size);
}

void CopyRun::sendProgress() {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    m_progress.bytesPerSecond =
        seconds > 0 ? static_cast<double>(m_progress.bytesDone) / seconds : 0.0;
    m_observer.progress(m_progress);
}
