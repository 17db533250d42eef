#pragma once

#include "media/core/playbacksource.h"
#include "media/core/smffile.h"

#include <QString>
#include <memory>
#include <vector>

class SoundFontSynth;

// A standard MIDI file played on a FluidSynth synthesizer. Events are sent to the synth at
// their own frame, the frame coming from the file's tempo map; the file ends at the latest
// end of its tracks. The synth is shared and must outlive the source.
class SequencerSource : public PlaybackSource {
public:
    // Reads the file at `path`; null with `reason` saying why it cannot be played.
    static std::unique_ptr<SequencerSource> open(const QString& path, SoundFontSynth& synth,
                                                 QString* reason);
    // The same from bytes already read.
    static std::unique_ptr<SequencerSource> fromBytes(const QByteArray& bytes,
                                                      SoundFontSynth& synth, QString* reason);

    int render(float* out, int frames) override;
    std::int64_t length(TimeUnit unit) const override;
    std::int64_t position(TimeUnit unit) const override;
    void seek(std::int64_t position, TimeUnit unit) override;
    bool atEnd() const override { return m_frame >= m_endFrame; }
    void silence() override;

    const SmfFile& file() const { return m_file; }

private:
    SequencerSource(SmfFile file, SoundFontSynth& synth);
    std::int64_t frameAtMicros(double micros) const;
    void send(const SmfEvent& event) const;

    SmfFile m_file;
    SoundFontSynth& m_synth;
    int m_rate;
    std::vector<std::int64_t> m_eventFrames; // frame of each event
    std::int64_t m_endFrame = 0;
    std::int64_t m_frame = 0;
    std::size_t m_next = 0; // the first event not yet sent
};
