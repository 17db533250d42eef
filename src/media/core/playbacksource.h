#pragma once

#include <cstdint>

// Units of positions and lengths: a sequencer counts MIDI ticks until it is switched to
// milliseconds; wave audio always counts milliseconds.
enum class TimeUnit { Milliseconds, Ticks };

// One opened media file rendering interleaved stereo float frames at the output's rate.
// Not thread-safe: the playback engine serialises every call.
class PlaybackSource {
public:
    virtual ~PlaybackSource() = default;

    // Renders up to `frames` frames from the current position and moves on; returns the
    // number rendered, fewer than asked only at the end of the file.
    virtual int render(float* out, int frames) = 0;
    virtual std::int64_t length(TimeUnit unit) const = 0;
    virtual std::int64_t position(TimeUnit unit) const = 0;
    // Moves to `position`, clamped to 0..length.
    virtual void seek(std::int64_t position, TimeUnit unit) = 0;
    virtual bool atEnd() const = 0;
    // Playback halts: anything still sounding is cut.
    virtual void silence() {}
};
