// CPU time of the whole `sorvane-cli songs` process against `du -sb` on the same generated
// card root of 100 songs and 5000 files, run side by side in turns.
// Run: build/bench/songsvsdu_bench [RUNS] [CLI] (see README, "Benchmarks"); CLI: another build
// of the companion to measure instead of this one.

#include "fixture/cardfixture.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Songs = 100;
constexpr int FilesPerSong = 50; // the information record and 49 others

bool WriteCard(const QString& root) {
    const CardFixture card(root);
    const RecorderModel models[] = {RecorderModel::BR864, RecorderModel::BR600,
                                    RecorderModel::BR900, RecorderModel::BR532,
                                    RecorderModel::BR800, RecorderModel::BR80};
    for (int s = 1; s <= Songs; ++s) {
        const QString folder = QStringLiteral("SONG%1.BR0").arg(s, 3, 10, QLatin1Char('0'));
        const QByteArray name = "SONG " + QByteArray::number(s);
        if (!card.writeSongInfo(folder, SongInfoRecord::ForModel(models[s % 6], name, 2)))
            return false;
        for (int f = 1; f < FilesPerSong; ++f) {
            const QString file = QStringLiteral("TAKES/T%1.BR0").arg(f, 2, 10, QLatin1Char('0'));
            if (!card.writeSongSizedFile(folder, file, 1000LL * f * s))
                return false;
        }
    }
    return card.writeDiskInfo(QByteArray(56, '\0'));
}

double ChildrenCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The CPU time (user and system) of one run of the program, its output discarded.
double RunOnce(const std::vector<const char*>& argv) {
    const double before = ChildrenCpuSeconds();
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::execvp(argv[0], const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "songsvsdu_bench: %s failed\n", argv[0]);
        std::exit(1);
    }
    return ChildrenCpuSeconds() - before;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    QTemporaryDir dir;
    if (!dir.isValid() || !WriteCard(dir.path())) {
        std::fprintf(stderr, "songsvsdu_bench: cannot write the card root\n");
        return 1;
    }
    const QByteArray root = dir.path().toLocal8Bit();
    // A second argument names another build of the companion, to compare with this one.
    const char* cli = argc > 2 ? argv[2] : SORVANE_CLI_PATH;
    const std::vector<const char*> songs{cli, "songs", root.constData(), nullptr};
    const std::vector<const char*> du{"du", "-sb", root.constData(), nullptr};
    std::vector<double> songsTimes;
    std::vector<double> duTimes;
    RunOnce(songs); // warm the caches for both
    RunOnce(du);
    for (int i = 0; i < runs; ++i) {
        songsTimes.push_back(RunOnce(songs));
        duTimes.push_back(RunOnce(du));
    }
    const double s = Median(songsTimes) * 1000.0;
    const double d = Median(duTimes) * 1000.0;
    std::printf("median CPU time over %d runs: sorvane-cli songs %.1f ms, du -sb %.1f ms, "
                "ratio %.2f\n",
                runs, s, d, s / d);
    return 0;
}
