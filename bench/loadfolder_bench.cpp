// Time of one LoadFolder on a generated card root of 100 songs and about 5000 files.
// Run: build/bench/loadfolder_bench (see README, "Benchmarks").

#include "card/sovinfo.h"
#include "fixture/cardfixture.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int Songs = 100;
constexpr int FilesPerSong = 50; // the information record and 49 others

// The card is written once per run into a temporary folder, removed at exit.
class GeneratedCard {
public:
    GeneratedCard() {
        if (!m_dir.isValid() || !write()) {
            std::fprintf(stderr, "loadfolder_bench: cannot write the card root\n");
            std::exit(1);
        }
    }
    QString root() const { return m_dir.path(); }

private:
    bool write() const {
        const CardFixture card(m_dir.path());
        const RecorderModel models[] = {RecorderModel::BR864, RecorderModel::BR600,
                                        RecorderModel::BR900, RecorderModel::BR532,
                                        RecorderModel::BR800, RecorderModel::BR80};
        for (int s = 1; s <= Songs; ++s) {
            const QString folder = QStringLiteral("SONG%1.BR0").arg(s, 3, 10, QLatin1Char('0'));
            const RecorderModel model = models[s % std::size(models)];
            const QByteArray name = "SONG " + QByteArray::number(s);
            if (!card.writeSongInfo(folder, SongInfoRecord::ForModel(model, name, 2)))
                return false;
            for (int f = 1; f < FilesPerSong; ++f) {
                const QString file =
                    QStringLiteral("TAKES/T%1.BR0").arg(f, 2, 10, QLatin1Char('0'));
                if (!card.writeSongSizedFile(folder, file, 1000LL * f * s))
                    return false;
            }
        }
        return card.writeDiskInfo(QByteArray(56, '\0'));
    }

    QTemporaryDir m_dir;
};

const GeneratedCard& Card() {
    static const GeneratedCard card;
    return card;
}

void BM_LoadFolder(benchmark::State& state) {
    const QString root = Card().root();
    const auto info = std::make_unique<SOV_Info>();
    for (auto _ : state) {
        info->LoadFolder(root);
        benchmark::DoNotOptimize(info->songs().data());
    }
    state.counters["songs"] = static_cast<double>(info->songs().size());
    state.counters["files"] = static_cast<double>(Songs * FilesPerSong);
    state.SetLabel("time per LoadFolder");
}

BENCHMARK(BM_LoadFolder)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
