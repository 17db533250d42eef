#include "media/core/sequencersource.h"

#include "media/core/mediafile.h"
#include "media/core/soundfontsynth.h"

#include <algorithm>
#include <cmath>
#include <fluidsynth.h>

std::unique_ptr<SequencerSource> SequencerSource::open(const QString& path, SoundFontSynth& synth,
                                                       QString* reason) {
    QByteArray bytes;
    if (!ReadMediaFile(path, static_cast<qint64>(SmfFile::MaxBytes), bytes, reason))
        return nullptr;
    return fromBytes(bytes, synth, reason);
}

std::unique_ptr<SequencerSource>
SequencerSource::fromBytes(const QByteArray& bytes, SoundFontSynth& synth, QString* reason) {
    SmfFile file;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const SmfError error = ReadSmf({data, static_cast<std::size_t>(bytes.size())}, file);
    if (error != SmfError::None) {
        if (reason)
            *reason = SmfErrorText(error);
        return nullptr;
    }
    return std::unique_ptr<SequencerSource>(new SequencerSource(std::move(file), synth));
}

SequencerSource::SequencerSource(SmfFile file, SoundFontSynth& synth)
    : m_file(std::move(file)), m_synth(synth), m_rate(synth.sampleRate()) {
    m_eventFrames.reserve(m_file.events.size());
    for (const SmfEvent& e : m_file.events)
        m_eventFrames.push_back(frameAtMicros(m_file.tempoMap.ticksToMicros(e.tick)));
    m_endFrame = frameAtMicros(m_file.tempoMap.ticksToMicros(m_file.endTick));
    m_synth.reset();
}

std::int64_t SequencerSource::frameAtMicros(double micros) const {
    // Rounded up, so that a position set in ticks or milliseconds reads back unchanged.
    return static_cast<std::int64_t>(std::ceil(micros * m_rate / 1e6 - 1e-6));
}

void SequencerSource::send(const SmfEvent& e) const {
    fluid_synth_t* synth = m_synth.synth();
    const int channel = e.status & 0x0F;
    switch (e.status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth, channel, e.data1);
        break;
    case 0x90:
        fluid_synth_noteon(synth, channel, e.data1, e.data2); // velocity 0 is a note-off
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth, channel, e.data1, e.data2);
        break;
    case 0xB0:
        fluid_synth_cc(synth, channel, e.data1, e.data2);
        break;
    case 0xC0:
        fluid_synth_program_change(synth, channel, e.data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth, channel, e.data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth, channel, e.data1 | (e.data2 << 7));
        break;
    default: // system exclusive
        if (e.sysexLength > 0) {
            const auto* bytes = reinterpret_cast<const char*>(m_file.sysexBytes.data());
            fluid_synth_sysex(synth, bytes + e.sysexOffset, static_cast<int>(e.sysexLength),
                              nullptr, nullptr, nullptr, 0);
        }
        break;
    }
}

int SequencerSource::render(float* out, int frames) {
    int done = 0;
    while (done < frames && m_frame < m_endFrame) {
        while (m_next < m_eventFrames.size() && m_eventFrames[m_next] <= m_frame)
            send(m_file.events[m_next++]);
        std::int64_t chunk = std::min<std::int64_t>(frames - done, m_endFrame - m_frame);
        if (m_next < m_eventFrames.size())
            chunk = std::min(chunk, m_eventFrames[m_next] - m_frame);
        const int n = static_cast<int>(chunk);
        fluid_synth_write_float(m_synth.synth(), n, out, 2 * done, 2, out, 2 * done + 1, 2);
        done += n;
        m_frame += n;
    }
    if (done < frames)
        silence();
    return done;
}

std::int64_t SequencerSource::length(TimeUnit unit) const {
    if (unit == TimeUnit::Ticks)
        return static_cast<std::int64_t>(m_file.endTick);
    return std::llround(m_file.tempoMap.ticksToMicros(m_file.endTick) / 1000.0);
}

std::int64_t SequencerSource::position(TimeUnit unit) const {
    if (atEnd())
        return length(unit);
    const double micros = static_cast<double>(m_frame) * 1e6 / m_rate;
    if (unit == TimeUnit::Ticks)
        return static_cast<std::int64_t>(
            std::min(m_file.tempoMap.microsToTicks(micros), m_file.endTick));
    return std::min(static_cast<std::int64_t>(micros / 1000.0 + 1e-6), length(unit));
}

void SequencerSource::seek(std::int64_t position, TimeUnit unit) {
    const std::int64_t target = std::clamp<std::int64_t>(position, 0, length(unit));
    const double micros = unit == TimeUnit::Ticks
                              ? m_file.tempoMap.ticksToMicros(static_cast<std::uint64_t>(target))
                              : static_cast<double>(target) * 1000.0;
    m_frame = std::min(frameAtMicros(micros), m_endFrame);
    // Programs, controllers and bends before the target are sent again; notes are not.
    m_synth.reset();
    m_next = 0;
    for (; m_next < m_eventFrames.size() && m_eventFrames[m_next] < m_frame; ++m_next) {
        const std::uint8_t kind = m_file.events[m_next].status & 0xF0;
        if (kind != 0x80 && kind != 0x90 && kind != 0xA0)
            send(m_file.events[m_next]);
    }
}

void SequencerSource::silence() {
    fluid_synth_all_sounds_off(m_synth.synth(), -1);
}
