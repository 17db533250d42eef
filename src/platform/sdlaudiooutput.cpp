#include "platform/sdlaudiooutput.h"

#include <SDL.h>

SdlAudioOutput::~SdlAudioOutput() {
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    if (m_subsystemUp)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioOutput::callback(void* self, std::uint8_t* stream, int bytes) {
    auto* output = static_cast<SdlAudioOutput*>(self);
    const int frames = bytes / static_cast<int>(2 * sizeof(float));
    output->m_render(reinterpret_cast<float*>(stream), frames);
}

bool SdlAudioOutput::start(RenderFunction render, QString* error) {
    if (m_device != 0)
        return true;
    if (!m_subsystemUp && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error)
            *error = QString::fromUtf8(SDL_GetError());
        return false;
    }
    m_subsystemUp = true;
    m_render = std::move(render);
    SDL_AudioSpec want{};
    want.freq = m_preferredRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &SdlAudioOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (m_device == 0) {
        if (error)
            *error = QString::fromUtf8(SDL_GetError());
        return false;
    }
    m_sampleRate = have.freq;
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}
