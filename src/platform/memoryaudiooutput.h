#pragma once

#include "platform/audiooutput.h"

#include <vector>

// An output that renders only when asked, on the caller's thread, into memory: for tests,
// benchmarks and rendering a file to disk as fast as it goes.
class MemoryAudioOutput : public AudioOutput {
public:
    explicit MemoryAudioOutput(int sampleRate = 44100) : m_sampleRate(sampleRate) {}

    bool start(RenderFunction render, QString* error) override;
    bool isStarted() const override { return static_cast<bool>(m_render); }
    int sampleRate() const override { return m_sampleRate; }

    // Pulls `frames` frames into `out` (2 floats each); returns the count that came from a
    // file (0 when not started).
    int pull(float* out, int frames);
    // Pulls `frames` frames and appends only those that came from a file.
    int pullInto(std::vector<float>& samples, int frames);

private:
    int m_sampleRate;
    RenderFunction m_render;
    std::vector<float> m_block;
};
