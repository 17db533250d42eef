// Rendering cost and start-up time of the playback engine.
// Run: build/bench/playback_bench (see README, "Benchmarks").
//
// Render*: CPU time of rendering a whole file as fast as it goes, as a share of the
// audio's duration ("cpu_share" = CPU seconds per second of audio).
// PlayToFirstSample*: from Play (opening the file included) to the first block of the file
// handed to the output.

#include "fixture/mediafixture.h"
#include "media/core/playbackengine.h"
#include "media/core/soundfontsynth.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int OutputRate = 44100;
constexpr int Block = 1024; // the SDL output's period

class BenchFiles {
public:
    BenchFiles() {
        WavSpec wave;
        wave.frames = 60 * 44100;
        wave.sample = SineTone(440.0, 44100, 0.4);
        WavSpec wave48 = wave;
        wave48.sampleRate = 48000;
        wave48.frames = 60 * 48000;
        if (!m_dir.isValid() ||
            !write(QStringLiteral("dense.mid"), SmfBytes(DenseGeneralMidi(10))) ||
            !write(QStringLiteral("tone44.wav"), WavBytes(wave)) ||
            !write(QStringLiteral("tone48.wav"), WavBytes(wave48))) {
            std::fprintf(stderr, "playback_bench: cannot write the media files\n");
            std::exit(1);
        }
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private:
    bool write(const QString& name, const QByteArray& bytes) const {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    QTemporaryDir m_dir;
};

const BenchFiles& Files() {
    static const BenchFiles files;
    return files;
}

PlaybackEngine& Engine() {
    static PlaybackEngine engine(DefaultSoundFontFolder());
    return engine;
}

void Open(benchmark::State& state, PlaybackDevice device, const char* name) {
    QString error;
    if (!Engine().open(device, Files().path(name), OutputRate, &error))
        state.SkipWithError(error.toUtf8().constData());
}

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void RenderWhole(benchmark::State& state, PlaybackDevice device, const char* name) {
    std::vector<float> buffer(2 * Block);
    double cpu = 0.0;
    double audio = 0.0;
    for (auto _ : state) {
        Open(state, device, name);
        Engine().play();
        const double start = CpuSeconds();
        std::int64_t frames = 0;
        for (int got = Block; got == Block;) {
            got = Engine().render(buffer.data(), Block);
            frames += got;
        }
        cpu += CpuSeconds() - start;
        audio += static_cast<double>(frames) / OutputRate;
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["cpu_share"] = audio > 0 ? cpu / audio : 0.0;
    state.counters["audio_s"] = audio / static_cast<double>(state.iterations());
}

void PlayToFirstSample(benchmark::State& state, PlaybackDevice device, const char* name) {
    std::vector<float> buffer(2 * Block);
    Open(state, device, name); // the soundfont is loaded by now
    for (auto _ : state) {
        Open(state, device, name);
        Engine().play();
        while (Engine().render(buffer.data(), Block) == 0) {
        }
        benchmark::DoNotOptimize(buffer.data());
    }
}

void BM_RenderDenseMidi(benchmark::State& state) {
    RenderWhole(state, PlaybackDevice::Sequencer, "dense.mid");
}
void BM_RenderWave(benchmark::State& state) {
    RenderWhole(state, PlaybackDevice::WaveAudio, "tone44.wav");
}
void BM_RenderWaveConverted(benchmark::State& state) {
    RenderWhole(state, PlaybackDevice::WaveAudio, "tone48.wav");
}
void BM_PlayToFirstSampleWave(benchmark::State& state) {
    PlayToFirstSample(state, PlaybackDevice::WaveAudio, "tone48.wav");
}
void BM_PlayToFirstSampleMidi(benchmark::State& state) {
    PlayToFirstSample(state, PlaybackDevice::Sequencer, "dense.mid");
}

// The first MIDI play also loads the soundfont; later plays keep it.
void BM_LoadSoundFont(benchmark::State& state) {
    for (auto _ : state) {
        QString reason;
        const auto synth = SoundFontSynth::create(DefaultSoundFontFolder(), OutputRate, &reason);
        if (!synth)
            state.SkipWithError(reason.toUtf8().constData());
        benchmark::DoNotOptimize(synth.get());
    }
}

BENCHMARK(BM_RenderDenseMidi)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RenderWave)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RenderWaveConverted)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PlayToFirstSampleWave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayToFirstSampleMidi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSoundFont)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
