#pragma once

#include "media/core/playbacksource.h"

#include <QString>
#include <functional>
#include <memory>
#include <mutex>

class SoundFontSynth;

enum class PlaybackDevice { WaveAudio, Sequencer };

// The player's engine: one open file at a time, rendered on demand by an audio output's
// thread while the user-interface thread opens, plays, stops, seeks and asks for the
// position. The soundfont of the sequencer is loaded at the first MIDI file and kept.
class PlaybackEngine {
public:
    explicit PlaybackEngine(QString soundFontFolder);
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // Opens `path` on `device` for an output at `outputRate`; whatever was open is closed
    // first. On failure nothing is open and `error` says why, naming the file.
    bool open(PlaybackDevice device, const QString& path, int outputRate, QString* error);
    // Each of these returns true when it ended a play in progress.
    bool close();
    bool stop();
    // Plays from the current position, or from the start once the end was reached. Returns
    // true when a play was already in progress (it goes on). False when no file is open.
    bool play(bool* wasPlaying = nullptr);
    void seek(std::int64_t position);
    // Sequencer positions start in ticks; wave audio counts milliseconds whatever is set.
    void setTimeUnit(TimeUnit unit);

    bool hasFile() const;
    bool isPlaying() const;
    std::int64_t position() const;
    std::int64_t length() const;
    bool soundFontLoaded() const { return m_synth != nullptr; }

    // Rendering thread: fills `frames` interleaved stereo frames, silence when not playing,
    // and returns how many came from the file. When the file ends, playing stops and the end
    // handler runs on this thread (without the engine's lock held).
    int render(float* out, int frames);
    void setEndHandler(std::function<void()> handler);

private:
    std::unique_ptr<PlaybackSource> openSource(PlaybackDevice device, const QString& path,
                                               int outputRate, QString* reason);
    TimeUnit unitLocked() const;

    mutable std::mutex m_mutex;
    const QString m_soundFontFolder;
    std::unique_ptr<SoundFontSynth> m_synth; // touched by the user-interface thread only
    std::unique_ptr<PlaybackSource> m_source;
    PlaybackDevice m_device = PlaybackDevice::WaveAudio;
    TimeUnit m_unit = TimeUnit::Milliseconds;
    bool m_playing = false;
    std::function<void()> m_onEnd;
};
