#include "platform/memoryaudiooutput.h"

#include <algorithm>

bool MemoryAudioOutput::start(RenderFunction render, QString*) {
    m_render = std::move(render);
    return true;
}

int MemoryAudioOutput::pull(float* out, int frames) {
    if (!m_render) {
        std::fill(out, out + 2 * static_cast<std::ptrdiff_t>(std::max(frames, 0)), 0.0f);
        return 0;
    }
    return m_render(out, frames);
}

int MemoryAudioOutput::pullInto(std::vector<float>& samples, int frames) {
    m_block.resize(2 * static_cast<std::size_t>(std::max(frames, 0)));
    const int got = pull(m_block.data(), frames);
    samples.insert(samples.end(), m_block.begin(), m_block.begin() + 2 * got);
    return got;
}
