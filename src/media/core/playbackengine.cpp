#include "media/core/playbackengine.h"

#include "media/core/mediafile.h"
#include "media/core/sequencersource.h"
#include "media/core/soundfontsynth.h"
#include "media/core/wavesource.h"

#include <algorithm>

PlaybackEngine::PlaybackEngine(QString soundFontFolder)
    : m_soundFontFolder(std::move(soundFontFolder)) {
}

PlaybackEngine::~PlaybackEngine() {
    close();
}

std::unique_ptr<PlaybackSource> PlaybackEngine::openSource(PlaybackDevice device,
                                                           const QString& path, int outputRate,
                                                           QString* reason) {
    if (device == PlaybackDevice::WaveAudio)
        return WaveSource::open(path, outputRate, reason);
    if (m_synth && m_synth->sampleRate() != outputRate)
        m_synth.reset();
    if (!m_synth)
        m_synth = SoundFontSynth::create(m_soundFontFolder, outputRate, reason);
    if (!m_synth)
        return nullptr;
    return SequencerSource::open(path, *m_synth, reason);
}

bool PlaybackEngine::open(PlaybackDevice device, const QString& path, int outputRate,
                          QString* error) {
    close();
    QString reason;
    std::unique_ptr<PlaybackSource> source =
        openSource(device, path, std::max(outputRate, 1), &reason);
    if (!source) {
        if (error)
            *error = CannotPlayText(path, reason);
        return false;
    }
    const std::lock_guard lock(m_mutex);
    m_source = std::move(source);
    m_device = device;
    m_unit = device == PlaybackDevice::Sequencer ? TimeUnit::Ticks : TimeUnit::Milliseconds;
    return true;
}

bool PlaybackEngine::close() {
    std::unique_ptr<PlaybackSource> old;
    bool wasPlaying = false;
    {
        const std::lock_guard lock(m_mutex);
        wasPlaying = m_playing;
        m_playing = false;
        old = std::move(m_source);
    }
    if (old)
        old->silence();
    return wasPlaying;
}

bool PlaybackEngine::stop() {
    const std::lock_guard lock(m_mutex);
    const bool wasPlaying = m_playing;
    m_playing = false;
    if (m_source && wasPlaying)
        m_source->silence();
    return wasPlaying;
}

bool PlaybackEngine::play(bool* wasPlaying) {
    const std::lock_guard lock(m_mutex);
    if (wasPlaying)
        *wasPlaying = m_playing;
    if (!m_source)
        return false;
    if (!m_playing && m_source->atEnd())
        m_source->seek(0, unitLocked());
    m_playing = true;
    return true;
}

void PlaybackEngine::seek(std::int64_t position) {
    const std::lock_guard lock(m_mutex);
    if (m_source)
        m_source->seek(position, unitLocked());
}

void PlaybackEngine::setTimeUnit(TimeUnit unit) {
    const std::lock_guard lock(m_mutex);
    m_unit = unit;
}

TimeUnit PlaybackEngine::unitLocked() const {
    return m_device == PlaybackDevice::WaveAudio ? TimeUnit::Milliseconds : m_unit;
}

bool PlaybackEngine::hasFile() const {
    const std::lock_guard lock(m_mutex);
    return m_source != nullptr;
}

bool PlaybackEngine::isPlaying() const {
    const std::lock_guard lock(m_mutex);
    return m_playing;
}

std::int64_t PlaybackEngine::position() const {
    const std::lock_guard lock(m_mutex);
    return m_source ? m_source->position(unitLocked()) : 0;
}

std::int64_t PlaybackEngine::length() const {
    const std::lock_guard lock(m_mutex);
    return m_source ? m_source->length(unitLocked()) : 0;
}

void PlaybackEngine::setEndHandler(std::function<void()> handler) {
    const std::lock_guard lock(m_mutex);
    m_onEnd = std::move(handler);
}

int PlaybackEngine::render(float* out, int frames) {
    if (frames <= 0)
        return 0;
    int done = 0;
    bool ended = false;
    std::function<void()> onEnd;
    {
        const std::lock_guard lock(m_mutex);
        if (m_playing && m_source) {
            done = std::clamp(m_source->render(out, frames), 0, frames);
            if (done < frames) {
                m_playing = false;
                ended = true;
                onEnd = m_onEnd;
            }
        }
    }
    std::fill(out + 2 * static_cast<std::ptrdiff_t>(done),
              out + 2 * static_cast<std::ptrdiff_t>(frames), 0.0f);
    if (ended && onEnd)
        onEnd();
    return done;
}
