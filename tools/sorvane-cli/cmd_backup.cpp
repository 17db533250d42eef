// sorvane-cli backup CARDROOT DEST [--replace] | restore BACKUP CARDROOT: the program's copy
// engine without a window. Ctrl-C stops the copy at its next block; nothing half-written stays.

#include "command.h"

#include "card/cardpath.h"
#include "transfer/backuptexts.h"
#include "transfer/copyengine.h"
#include "transfer/sizetext.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

// Answers for a copy without a user: existing files are kept (or replaced with --replace),
// failing files are skipped and reported; a progress line goes to a terminal.
class CliObserver final : public CopyObserver {
public:
    CliObserver(QTextStream& err, bool tty) : m_err(err), m_tty(tty) { m_clock.start(); }

    void progress(const CopyProgress& progress) override {
        if (!m_tty || (m_clock.elapsed() < 200 && progress.filesDone < progress.filesTotal))
            return;
        m_clock.restart();
        m_err << "\r" << progress.filesDone << " of " << progress.filesTotal << " files, "
              << FormatSizeText(progress.bytesDone, SizeUnitAuto) << " of "
              << FormatSizeText(progress.bytesTotal, SizeUnitAuto) << ", "
              << FormatSizeText(static_cast<std::int64_t>(progress.bytesPerSecond), SizeUnitAuto)
              << "/s   ";
        m_err.flush();
        m_shown = true;
    }
    ConflictAnswer askConflict(const QString&, const FileEntry&, const FileEntry&) override {
        return ConflictAnswer::SkipAll;
    }
    ErrorAnswer askError(const QString&, const QString&) override { return ErrorAnswer::Skip; }
    bool cancelRequested() override { return g_interrupted != 0; }

    void endLine() {
        if (m_shown)
            m_err << '\n';
    }

private:
    QTextStream& m_err;
    bool m_tty;
    bool m_shown = false;
    QElapsedTimer m_clock;
};

void MakeFolderIfMissing(const QString& folder) {
    if (!QFileInfo(folder).isDir())
        QDir().mkdir(folder);
}

int Report(const CopyResult& result, qint64 elapsedMs, QTextStream& out, QTextStream& err) {
    if (result.refused) {
        err << "sorvane-cli: " << result.refusal << '\n';
        return 1;
    }
    for (const QString& path : result.skippedFiles)
        out << "skipped: " << path << '\n';
    for (const CopyFailure& failure : result.failures)
        err << "failed: " << failure.path << ": " << failure.reason << '\n';
    out << (result.cancelled ? "Interrupted: " : "") << result.copied << " copied, "
        << result.replaced << " replaced, " << result.skipped << " skipped, " << result.failed
        << " failed, " << result.bytesWritten << " bytes, " << ElapsedTimeText(elapsedMs / 1000)
        << '\n';
    if (result.cancelled)
        return 130;
    return result.failed > 0 ? 1 : 0;
}

int RunCopy(const QString& source, const QString& destination, bool replace, QTextStream& out,
            QTextStream& err) {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    PosixCopyFileLayer files;
    CopyEngine engine(files);
    CliObserver observer(err, isatty(STDERR_FILENO) != 0);
    QElapsedTimer clock;
    clock.start();
    const CopyResult result = engine.copy({source, destination, replace}, observer);
    observer.endLine();
    return Report(result, clock.elapsed(), out, err);
}

int RunBackup(const QStringList& args, QTextStream& out, QTextStream& err) {
    QStringList plain = args;
    const bool replace = plain.removeAll(QStringLiteral("--replace")) > 0;
    if (plain.size() != 2 || plain[0].startsWith(u'-') || plain[1].startsWith(u'-')) {
        PrintCliUsage(err);
        return 2;
    }
    const QString root = plain[1];
    const int code = RunCopy(ResolveCardPath(plain[0], QStringLiteral("Roland")),
                             ResolveCardPath(root, QStringLiteral("Roland")), replace, out, err);
    if (QFileInfo(ResolveCardPath(root, QStringLiteral("Roland"))).isDir()) {
        MakeFolderIfMissing(ResolveCardPath(root, QStringLiteral("WAV")));
        MakeFolderIfMissing(ResolveCardPath(root, QStringLiteral("MP3")));
    }
    return code;
}

int RunRestore(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 2 || args[0].startsWith(u'-') || args[1].startsWith(u'-')) {
        PrintCliUsage(err);
        return 2;
    }
    return RunCopy(ResolveCardPath(args[0], QStringLiteral("Roland")),
                   ResolveCardPath(args[1], QStringLiteral("Roland")), true, out, err);
}

const bool registeredBackup =
    RegisterCliCommand({"backup", "CARDROOT DEST [--replace]", RunBackup});
const bool registeredRestore = RegisterCliCommand({"restore", "BACKUP CARDROOT", RunRestore});

} // namespace
