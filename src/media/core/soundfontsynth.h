#pragma once

#include <QString>
#include <memory>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

// The folder Debian installs General MIDI soundfonts into.
QString DefaultSoundFontFolder();

// The soundfont a sequencer plays with: "default-GM.sf2" in `folder` when it exists, else
// the first ".sf2" file there by name; empty when there is none.
QString FindGeneralMidiSoundFont(const QString& folder);

// A FluidSynth synthesizer at one sample rate with a soundfont loaded; made once and kept,
// since loading the soundfont is the slow part of playing a MIDI file.
class SoundFontSynth {
public:
    // Null with `reason` set when no soundfont is found or it cannot be loaded.
    static std::unique_ptr<SoundFontSynth> create(const QString& folder, int sampleRate,
                                                  QString* reason);
    ~SoundFontSynth();
    SoundFontSynth(const SoundFontSynth&) = delete;
    SoundFontSynth& operator=(const SoundFontSynth&) = delete;

    fluid_synth_t* synth() const { return m_synth; }
    int sampleRate() const { return m_sampleRate; }
    const QString& soundFontPath() const { return m_path; }

    // Back to the state after loading: every voice cut, programs and controllers reset.
    void reset();

private:
    SoundFontSynth() = default;

    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr;
    int m_sampleRate = 0;
    QString m_path;
};
