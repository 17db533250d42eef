#pragma once

#include "transfer/copyengine.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <functional>
#include <optional>

// The real file system with faults put in on purpose: an operation on a path containing
// `pathPart` fails with `code`, for writes and reads only once `afterBytes` have passed,
// `times` times (-1: always). Every flush and rename is logged in order.
struct FileFaultRule {
    enum Op { CreateTarget, Read, Write, Rename, SyncFileSystem };
    Op op;
    QString pathPart;
    int code = EIO;
    std::int64_t afterBytes = 0;
    int times = -1;
};

class FaultyFiles : public PosixCopyFileLayer {
public:
    QList<FileFaultRule> rules;
    QStringList log;                                // "syncfs", "sync <path>", "rename <to>"
    std::optional<std::int64_t> free;               // replaces the real free space when set
    std::function<void(const QString&)> beforeOpen; // runs before a source is opened

    int openSource(const QString& path, FileFault& fault) override {
        if (beforeOpen)
            beforeOpen(path);
        return remember(PosixCopyFileLayer::openSource(path, fault), path);
    }
    int createTarget(const QString& path, FileFault& fault) override {
        if (hit(FileFaultRule::CreateTarget, path, 0, fault))
            return -1;
        return remember(PosixCopyFileLayer::createTarget(path, fault), path);
    }
    std::int64_t read(int handle, char* buffer, std::int64_t size, FileFault& fault) override {
        if (hit(FileFaultRule::Read, m_paths.value(handle), m_bytes.value(handle), fault))
            return -1;
        const std::int64_t got = PosixCopyFileLayer::read(handle, buffer, size, fault);
        m_bytes[handle] += std::max<std::int64_t>(got, 0);
        return got;
    }
    bool write(int handle, const char* data, std::int64_t size, FileFault& fault) override {
        if (hit(FileFaultRule::Write, m_paths.value(handle), m_bytes.value(handle) + size, fault))
            return false;
        m_bytes[handle] += size;
        return PosixCopyFileLayer::write(handle, data, size, fault);
    }
    void close(int handle) override {
        m_paths.remove(handle);
        m_bytes.remove(handle);
        PosixCopyFileLayer::close(handle);
    }
    bool syncFileSystem(const QString& folder, FileFault& fault) override {
        log.append(QStringLiteral("syncfs"));
        return !hit(FileFaultRule::SyncFileSystem, folder, 0, fault) &&
               PosixCopyFileLayer::syncFileSystem(folder, fault);
    }
    bool syncPath(const QString& path, FileFault& fault) override {
        log.append(QStringLiteral("sync ") + path);
        return PosixCopyFileLayer::syncPath(path, fault);
    }
    bool rename(const QString& from, const QString& to, FileFault& fault) override {
        if (hit(FileFaultRule::Rename, to, 0, fault))
            return false;
        log.append(QStringLiteral("rename ") + to);
        return PosixCopyFileLayer::rename(from, to, fault);
    }
    std::optional<std::int64_t> freeBytes(const QString& folder) override {
        return free ? free : PosixCopyFileLayer::freeBytes(folder);
    }

private:
    bool hit(FileFaultRule::Op op, const QString& path, std::int64_t bytes, FileFault& fault) {
        for (FileFaultRule& rule : rules) {
            if (rule.op != op || rule.times == 0 || !path.contains(rule.pathPart) ||
                bytes < rule.afterBytes)
                continue;
            if (rule.times > 0)
                --rule.times;
            fault = FaultOf(rule.code);
            return true;
        }
        return false;
    }
    int remember(int handle, const QString& path) {
        if (handle >= 0) {
            m_paths[handle] = path;
            m_bytes[handle] = 0;
        }
        return handle;
    }

    QMap<int, QString> m_paths;
    QMap<int, std::int64_t> m_bytes;
};

// Answers from lists (the last answer repeats), recording the questions; cancels once the
// bytes done pass `cancelAfterBytes`.
class ScriptedObserver : public CopyObserver {
public:
    QList<ConflictAnswer> conflictAnswers{ConflictAnswer::Cancel};
    QList<ErrorAnswer> errorAnswers{ErrorAnswer::Skip};
    QStringList conflicts;
    QStringList errors; // "path|reason"
    std::int64_t cancelAfterBytes = -1;
    CopyProgress last;

    void progress(const CopyProgress& progress) override { last = progress; }
    ConflictAnswer askConflict(const QString& target, const FileEntry&, const FileEntry&) override {
        conflicts.append(target);
        return next(conflictAnswers, conflicts.size());
    }
    ErrorAnswer askError(const QString& path, const QString& reason) override {
        errors.append(path + u'|' + reason);
        return next(errorAnswers, errors.size());
    }
    bool cancelRequested() override {
        return cancelAfterBytes >= 0 && last.bytesDone > cancelAfterBytes;
    }

private:
    template <typename T> static T next(const QList<T>& answers, qsizetype asked) {
        return answers[std::min(asked, answers.size()) - 1];
    }
};
