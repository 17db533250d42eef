// CPU time of listing the six media folders of a card root holding 10 000 media files in
// all, against the CPU time `ls -l` takes on the same folders.
// Run: build/bench/medialists_bench (see README, "Benchmarks").

#include "fixture/cardfixture.h"
#include "media/core/medialist.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Files per media folder, in tab order: 10 000 in all.
constexpr int FilesPerTab[MediaTabCount] = {2000, 1000, 1000, 2000, 2000, 2000};
const char* const Extensions[MediaTabCount] = {".mid", ".wav", ".wav", ".mp3", ".wav", ".wav"};

class MediaCard {
public:
    MediaCard() {
        if (!m_dir.isValid() || !write()) {
            std::fprintf(stderr, "medialists_bench: cannot write the media folders\n");
            std::exit(1);
        }
    }
    QString root() const { return m_dir.path(); }
    std::vector<QByteArray> folders() const {
        std::vector<QByteArray> out;
        for (int tab = 0; tab < MediaTabCount; ++tab)
            out.push_back(QFile::encodeName(MediaFolderPath(root(), tab)));
        return out;
    }

private:
    bool write() const {
        const CardFixture card(m_dir.path());
        for (int tab = 0; tab < MediaTabCount; ++tab) {
            for (int i = 0; i < FilesPerTab[tab]; ++i) {
                const QString name = MediaTabFolder(tab) + QStringLiteral("/Take %1").arg(i) +
                                     QLatin1String(Extensions[tab]);
                if (!card.writeFile(name, QByteArray((i % 7) * 100, 'x')))
                    return false;
            }
        }
        return true;
    }

    QTemporaryDir m_dir;
};

const MediaCard& Card() {
    static const MediaCard card;
    return card;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_RefreshMediaLists(benchmark::State& state) {
    const QString root = Card().root();
    int files = 0;
    for (auto _ : state) {
        const double start = ProcessCpuSeconds();
        const auto lists = RefreshMediaListContents(root, true);
        state.SetIterationTime(ProcessCpuSeconds() - start);
        files = 0;
        for (const MediaListContent& list : lists)
            files += list.count;
        benchmark::DoNotOptimize(lists.data());
    }
    state.counters["files"] = files;
    state.SetLabel("CPU time per refresh of the six lists");
}

// `ls -l` on the six folders, its output thrown away; the child's user + system time.
void BM_LsLong(benchmark::State& state) {
    const std::vector<QByteArray> folders = Card().folders();
    std::vector<char*> argv = {const_cast<char*>("ls"), const_cast<char*>("-l")};
    for (const QByteArray& folder : folders)
        argv.push_back(const_cast<char*>(folder.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, "ls", &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start ls");
            break;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        const double cpu =
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
        state.SetIterationTime(cpu);
    }
    posix_spawn_file_actions_destroy(&actions);
    state.SetLabel("CPU time of ls -l (child user + system)");
}

BENCHMARK(BM_RefreshMediaLists)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LsLong)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
