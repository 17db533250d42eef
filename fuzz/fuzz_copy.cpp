// The copy engine: the input describes a source tree, what already stands in the destination,
// one kind of file operation that fails, the user's answers and a cancel. Whatever happens,
// the source is unchanged, every destination file holds its old content or the source's,
// whole, no temporary file is left behind, and a copy reported complete copied everything.

#include "fuzzinput.h"
#include "transfer/copyengine.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace {

class InputBytes {
public:
    InputBytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t take() {
        if (m_size == 0)
            return 0;
        --m_size;
        return *m_data++;
    }
    bool empty() const { return m_size == 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

enum class FailOp { None, Create, Read, Write, Rename, SyncFileSystem, SyncPath, Count };

// The real file system, with the n-th call of one operation failing (`times` times, 0:
// always) and flushes left out: they cost much and change nothing the properties look at.
class FailingFiles : public PosixCopyFileLayer {
public:
    FailOp op = FailOp::None;
    int failAt = 0;
    int times = 1;

    int createTarget(const QString& path, FileFault& fault) override {
        return fails(FailOp::Create, fault) ? -1 : PosixCopyFileLayer::createTarget(path, fault);
    }
    std::int64_t read(int handle, char* buffer, std::int64_t size, FileFault& fault) override {
        return fails(FailOp::Read, fault) ? -1
                                          : PosixCopyFileLayer::read(handle, buffer, size, fault);
    }
    bool write(int handle, const char* data, std::int64_t size, FileFault& fault) override {
        return !fails(FailOp::Write, fault) && PosixCopyFileLayer::write(handle, data, size, fault);
    }
    bool rename(const QString& from, const QString& to, FileFault& fault) override {
        return !fails(FailOp::Rename, fault) && PosixCopyFileLayer::rename(from, to, fault);
    }
    bool syncFileSystem(const QString&, FileFault& fault) override {
        return !fails(FailOp::SyncFileSystem, fault);
    }
    bool syncPath(const QString&, FileFault& fault) override {
        return !fails(FailOp::SyncPath, fault);
    }

private:
    bool fails(FailOp what, FileFault& fault) {
        if (what != op || m_calls++ < failAt || (times > 0 && m_failed >= times))
            return false;
        ++m_failed;
        fault = FaultOf(what == FailOp::Write ? ENOSPC : EIO);
        return true;
    }
    int m_calls = 0;
    int m_failed = 0;
};

// Answers from the input; an error is retried at most a few times, so that a fault that
// always recurs cannot keep the copy going for ever.
class InputObserver : public CopyObserver {
public:
    QList<ConflictAnswer> conflictAnswers;
    QList<ErrorAnswer> errorAnswers;
    int cancelAtPoll = 0; // 0: never

    ConflictAnswer askConflict(const QString&, const FileEntry&, const FileEntry&) override {
        return conflictAnswers.value(m_conflicts++ % conflictAnswers.size());
    }
    ErrorAnswer askError(const QString&, const QString&) override {
        const ErrorAnswer answer = errorAnswers.value(m_errors++ % errorAnswers.size());
        return answer == ErrorAnswer::Retry && m_errors > 6 ? ErrorAnswer::Skip : answer;
    }
    bool cancelRequested() override { return cancelAtPoll > 0 && ++m_polls >= cancelAtPoll; }

private:
    int m_conflicts = 0;
    int m_errors = 0;
    int m_polls = 0;
};

const char* const kNames[] = {"a", "b", "A", ".h", "c d", "SONG001.BR0", "x.part"};
const qsizetype kSizes[] = {0, 1, 100, 4096, 70000, 1100000};

QString RandomPath(InputBytes& in) {
    const int depth = 1 + in.take() % 3;
    QStringList parts;
    for (int i = 0; i < depth; ++i)
        parts.append(QLatin1String(kNames[in.take() % std::size(kNames)]));
    return parts.join(u'/');
}

QByteArray Content(InputBytes& in) {
    const qsizetype size = kSizes[in.take() % std::size(kSizes)];
    const char seed = static_cast<char>(in.take());
    QByteArray bytes(size, seed);
    for (qsizetype i = 0; i < size; i += 997)
        bytes[i] = static_cast<char>(seed + i / 997);
    return bytes;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every regular file below `root` by relative path, and every folder as "<folder>".
QMap<QString, QByteArray> Snapshot(const QString& root) {
    QMap<QString, QByteArray> files;
    std::error_code error;
    const std::filesystem::path base(root.toStdString());
    for (auto it = std::filesystem::recursive_directory_iterator(base, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const QString relative =
            QString::fromStdString(it->path().lexically_relative(base).string());
        if (it->is_symlink())
            files[relative] = "<link>";
        else if (it->is_directory())
            files[relative] = "<folder>";
        else if (it->is_regular_file()) {
            QFile file(QString::fromStdString(it->path().string()));
            files[relative] = file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>";
        }
    }
    return files;
}

// Builds the source and destination trees the input describes.
void BuildTrees(InputBytes& in, const QString& source, const QString& target) {
    QDir().mkpath(source);
    for (int entry = 0; entry < 16 && !in.empty(); ++entry) {
        const int kind = in.take() % 6;
        const QString path = RandomPath(in);
        if (kind <= 1)
            WriteFile(source + u'/' + path, Content(in));
        else if (kind == 2)
            QDir().mkpath(source + u'/' + path);
        else if (kind == 3) {
            QDir().mkpath(source + u'/' + path.section(u'/', 0, -2));
            (void)::symlink("a", (source + u'/' + path).toLocal8Bit().constData());
        } else if (kind == 4)
            WriteFile(target + u'/' + path, Content(in));
        else
            QDir().mkpath(target + u'/' + path);
    }
}

void CheckDestination(const QMap<QString, QByteArray>& source,
                      const QMap<QString, QByteArray>& before,
                      const QMap<QString, QByteArray>& after, const CopyResult& result) {
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        Require(!IsCopyTempName(it.key().section(u'/', -1)));
        const bool old = before.contains(it.key()) && before.value(it.key()) == it.value();
        const bool copied = source.contains(it.key()) && source.value(it.key()) == it.value();
        Require(old || copied);
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        Require(after.contains(it.key())); // nothing that stood there is removed
    if (result.complete()) {
        for (auto it = source.cbegin(); it != source.cend(); ++it)
            Require(it.value() == "<link>" || after.value(it.key()) == it.value());
    }
    Require(result.failures.size() == result.failed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString base =
        QDir::tempPath() + QStringLiteral("/sorvane-fuzz-copy-%1").arg(::getpid());
    std::filesystem::remove_all(base.toStdString());
    InputBytes in(data, size);
    const std::uint8_t flags = in.take();
    CopyBatchLimits limits;
    limits.files = 1 + (flags >> 1) % 4;
    limits.bytes = std::int64_t{64} << (in.take() % 4 * 7);
    FailingFiles files;
    files.op = static_cast<FailOp>(in.take() % static_cast<int>(FailOp::Count));
    files.failAt = in.take() % 16;
    files.times = in.take() % 4;
    InputObserver observer;
    observer.cancelAtPoll = in.take() % 8;
    for (int i = 0; i < 3; ++i) {
        observer.conflictAnswers.append(static_cast<ConflictAnswer>(in.take() % 5));
        observer.errorAnswers.append(static_cast<ErrorAnswer>(in.take() % 3));
    }

    const QString source = base + QStringLiteral("/src");
    const QString target = base + QStringLiteral("/dst");
    BuildTrees(in, source, target);
    const QMap<QString, QByteArray> sourceBefore = Snapshot(source);
    const QMap<QString, QByteArray> targetBefore = Snapshot(target);

    CopyEngine engine(files, limits);
    const CopyResult result = engine.copy({source, target, (flags & 1) != 0}, observer);

    Require(Snapshot(source) == sourceBefore);
    CheckDestination(sourceBefore, targetBefore, Snapshot(target), result);
    std::filesystem::remove_all(base.toStdString());
    return 0;
}
