#pragma once

#include "transfer/copyengine.h"
#include "transfer/copyplan.h"

#include <QList>
#include <QString>
#include <chrono>
#include <cstdint>
#include <vector>

// One run of CopyEngine::copy: the plan, the files written but not yet renamed, the answers
// that hold for the rest of the copy, and the result.
class CopyRun {
public:
    CopyRun(CopyFileLayer& files, CopyBatchLimits limits, const CopyRequest& request,
            CopyObserver& observer);

    CopyResult execute();

private:
    // A file written under its temporary name, waiting for the flush and the rename.
    struct Pending {
        QString temp;
        QString target;
        std::int64_t size = 0;
        bool replacing = false;
    };
    enum class Outcome { Done, Failed, Cancelled };

    bool prepare();
    bool refuse(const QString& text);
    void enterFolder(const QString& relative);
    bool makeFolderAsking(const QString& folder, QString& reason);
    void skipFolderContents(const QString& relative, const QString& folder, const QString& reason);
    void copyItem(const CopyPlanItem& item);
    void copyFile(const CopyPlanItem& item);
    bool checkTarget(const CopyPlanItem& item, const QString& target, bool& replacing);
    bool decideConflict(const CopyPlanItem& item, const FileEntry& existing);
    Outcome writeTemp(const QString& source, const QString& temp, const FileEntry& entry,
                      QString& failedPath, FileFault& fault);
    Outcome pumpBytes(int in, int out, const QString& source, const QString& temp,
                      QString& failedPath, FileFault& fault);
    bool commitBatch();
    bool flushPending(const Pending& pending);
    bool renamePending(const Pending& pending);
    void discardBatch(qsizetype from = 0);
    void removeStaleTemps(const QString& folder);
    // Asks about an error; Skip records the failure, Cancel marks the run cancelled.
    ErrorAnswer reportError(const QString& path, const QString& reason);
    void fileFinished(std::int64_t size);
    void skipFile(const QString& path, std::int64_t size);
    void sendProgress();

    CopyFileLayer& m_files;
    CopyBatchLimits m_limits;
    CopyRequest m_request;
    CopyObserver& m_observer;
    QString m_source;
    QString m_destination;
    CopyPlan m_plan;
    CopyResult m_result;
    CopyProgress m_progress;
    QList<Pending> m_pending;
    std::int64_t m_pendingBytes = 0;
    std::int64_t m_bytesBase = 0; // bytes of the files finished so far
    QStringList m_skippedFolders; // relative paths whose contents are not copied
    bool m_replaceAll = false;
    bool m_skipAll = false;
    std::chrono::steady_clock::time_point m_start;
    std::vector<char> m_buffer;
};
