// Wall time of the copy engine against `cp -a` followed by `sync`, on the same card tree
// written by the fixture builder, in one run. Each copy ends with everything on the device.
// Run: build/bench/copy_bench [--mb N] [--files N] [--dir FOLDER] [--batch-mb N]
// [--batch-files N] [--rounds N] (see README, "Benchmarks").

#include "fixture/cardfixture.h"
#include "transfer/copyengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

struct Options {
    qint64 megabytes = 500;
    int files = 2000;
    QString dir; // where the trees go; a temporary folder under /tmp when empty
    CopyBatchLimits limits;
    int rounds = 3;
};

Options ParseOptions(const QStringList& args) {
    Options options;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--mb"))
            options.megabytes = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--files"))
            options.files = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--dir"))
            options.dir = args[i + 1];
        else if (args[i] == QLatin1String("--batch-mb"))
            options.limits.bytes = args[i + 1].toLongLong() * 1024 * 1024;
        else if (args[i] == QLatin1String("--rounds"))
            options.rounds = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--batch-files"))
            options.limits.files = args[i + 1].toInt();
    }
    options.megabytes = std::max<qint64>(1, options.megabytes);
    options.files = std::max(1, options.files);
    return options;
}

// Songs of 20 files each; sizes vary from a fifth to nearly twice the average.
bool WriteTree(const QString& root, const Options& options) {
    const CardFixture card(root);
    const qint64 average = options.megabytes * 1000000 / options.files;
    QByteArray bytes(static_cast<qsizetype>(average * 2), '\0');
    quint32 state = 12345;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    for (int i = 0; i < options.files; ++i) {
        const qint64 size = average * (1 + i % 9) / 5;
        const QString name = QStringLiteral("Roland/BR0/SONG%1.BR0/TAKE%2.BR0")
                                 .arg(i / 20, 3, 10, QChar(u'0'))
                                 .arg(i);
        if (!card.writeFile(name, bytes.left(static_cast<qsizetype>(size))))
            return false;
    }
    return true;
}

class NoQuestions final : public CopyObserver {
public:
    ConflictAnswer askConflict(const QString&, const FileEntry&, const FileEntry&) override {
        return ConflictAnswer::Replace;
    }
    ErrorAnswer askError(const QString&, const QString&) override { return ErrorAnswer::Cancel; }
    bool cancelRequested() override { return false; }
};

double RunEngine(const QString& source, const QString& destination, CopyBatchLimits limits) {
    PosixCopyFileLayer files;
    CopyEngine engine(files, limits);
    NoQuestions observer;
    QElapsedTimer clock;
    clock.start();
    const CopyResult result = engine.copy({source, destination, true}, observer);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (!result.complete()) {
        std::fprintf(stderr, "copy_bench: the engine's copy did not complete\n");
        std::exit(1);
    }
    return seconds;
}

bool Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

double RunCpAndSync(const QString& source, const QString& destination) {
    QElapsedTimer clock;
    clock.start();
    if (!Run(QStringLiteral("cp"), {QStringLiteral("-a"), source, destination}) ||
        !Run(QStringLiteral("sync"), {})) {
        std::fprintf(stderr, "copy_bench: cp -a or sync failed\n");
        std::exit(1);
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const Options options = ParseOptions(QCoreApplication::arguments());
    QTemporaryDir temp(options.dir.isEmpty()
                           ? QDir::tempPath() + QStringLiteral("/copy_bench-XXXXXX")
                           : options.dir + QStringLiteral("/copy_bench-XXXXXX"));
    const QString source = temp.path() + QStringLiteral("/card/Roland");
    if (!temp.isValid() || !WriteTree(temp.path() + QStringLiteral("/card"), options)) {
        std::fprintf(stderr, "copy_bench: cannot write the card tree\n");
        return 1;
    }
    // Rounds alternate which copy goes first; each starts with nothing left to flush and no
    // earlier copy in the way. The best time of each copy counts (the machine may be busy).
    double best[2] = {1e300, 1e300};
    for (int round = 0; round < options.rounds; ++round) {
        for (int step = 0; step < 2; ++step) {
            const bool engineTurn = (step + round) % 2 == 1;
            const QString target = temp.path() + QStringLiteral("/copy");
            Run(QStringLiteral("sync"), {});
            const double seconds = engineTurn ? RunEngine(source, target, options.limits)
                                              : RunCpAndSync(source, target);
            best[engineTurn ? 1 : 0] = std::min(best[engineTurn ? 1 : 0], seconds);
            std::printf("round %d: %-13s %.2f s\n", round + 1,
                        engineTurn ? "engine" : "cp -a + sync", seconds);
            QDir(target).removeRecursively();
        }
    }
    std::printf("tree: %lld MB in %d files, best of %d rounds\n",
                static_cast<long long>(options.megabytes), options.files, options.rounds);
    std::printf("cp -a + sync: %.2f s\nengine:       %.2f s\nratio:        %.2f\n", best[0],
                best[1], best[1] / best[0]);
    return 0;
}
