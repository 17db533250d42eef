#pragma once

#include <QString>
#include <functional>

// Where rendered audio goes: interleaved stereo float frames at the output's rate. The
// render function fills the frames it is given and returns how many came from a file (the
// rest is silence); it may be called from another thread.
class AudioOutput {
public:
    using RenderFunction = std::function<int(float* interleavedStereo, int frames)>;

    virtual ~AudioOutput() = default;

    // Opens the output when it is not open yet and starts pulling frames from `render`.
    // False with `error` set when there is no device to play on.
    virtual bool start(RenderFunction render, QString* error) = 0;
    virtual bool isStarted() const = 0;
    // The rate frames are pulled at; valid once started.
    virtual int sampleRate() const = 0;
};
