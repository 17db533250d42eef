#include "media/core/soundfontsynth.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fluidsynth.h>

namespace {

// FluidSynth prints warnings and notes on the terminal; the player reports failures itself.
void QuietFluidSynth() {
    static const bool quiet = [] {
        for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
        return true;
    }();
    (void)quiet;
}

} // namespace

QString DefaultSoundFontFolder() {
    return QStringLiteral("/usr/share/sounds/sf2");
}

QString FindGeneralMidiSoundFont(const QString& folder) {
    const QDir dir(folder);
    const QFileInfo preferred(dir.filePath(QStringLiteral("default-GM.sf2")));
    if (preferred.isFile())
        return preferred.filePath();
    const QFileInfoList found =
        dir.entryInfoList({QStringLiteral("*.sf2")}, QDir::Files | QDir::Readable, QDir::Name);
    return found.isEmpty() ? QString() : found.front().filePath();
}

std::unique_ptr<SoundFontSynth> SoundFontSynth::create(const QString& folder, int sampleRate,
                                                       QString* reason) {
    QuietFluidSynth();
    const QString path = FindGeneralMidiSoundFont(folder);
    if (path.isEmpty()) {
        if (reason)
            *reason =
                QStringLiteral("no General MIDI soundfont (.sf2) was found in %1").arg(folder);
        return nullptr;
    }
    std::unique_ptr<SoundFontSynth> s(new SoundFontSynth);
    s->m_path = path;
    s->m_sampleRate = sampleRate;
    s->m_settings = new_fluid_settings();
    if (s->m_settings) {
        fluid_settings_setnum(s->m_settings, "synth.sample-rate", sampleRate);
        fluid_settings_setnum(s->m_settings, "synth.gain", 0.4);
        s->m_synth = new_fluid_synth(s->m_settings);
    }
    if (!s->m_synth ||
        fluid_synth_sfload(s->m_synth, QFile::encodeName(path).constData(), 1) == FLUID_FAILED) {
        if (reason)
            *reason = QStringLiteral("the soundfont %1 cannot be loaded").arg(path);
        return nullptr;
    }
    return s;
}

SoundFontSynth::~SoundFontSynth() {
    if (m_synth)
        delete_fluid_synth(m_synth);
    if (m_settings)
        delete_fluid_settings(m_settings);
}

void SoundFontSynth::reset() {
    fluid_synth_all_sounds_off(m_synth, -1);
    fluid_synth_system_reset(m_synth);
}
