#pragma once

#include "platform/audiooutput.h"

#include <cstdint>

// The sound card through SDL2: one stereo float stream, opened at the first start and kept
// open until destruction. SDL_AUDIODRIVER=dummy gives a device without sound for CI.
class SdlAudioOutput : public AudioOutput {
public:
    explicit SdlAudioOutput(int preferredRate = 44100) : m_preferredRate(preferredRate) {}
    ~SdlAudioOutput() override;

    bool start(RenderFunction render, QString* error) override;
    bool isStarted() const override { return m_device != 0; }
    int sampleRate() const override { return m_sampleRate; }

private:
    static void callback(void* self, std::uint8_t* stream, int bytes);

    int m_preferredRate;
    int m_sampleRate = 0;
    std::uint32_t m_device = 0;
    bool m_subsystemUp = false;
    RenderFunction m_render;
};
