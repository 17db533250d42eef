#include "platform/enginemediaplayback.h"

#include "media/core/mediafile.h"
#include "media/core/soundfontsynth.h"
#include "platform/sdlaudiooutput.h"
#include "platform/systemmediaplayback.h"

#include <QMetaObject>

namespace {

void SetError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

EngineMediaPlayback::EngineMediaPlayback(std::unique_ptr<AudioOutput> output,
                                         const QString& soundFontFolder)
    : m_engine(soundFontFolder), m_output(std::move(output)),
      m_receiver(std::make_unique<QObject>()) {
    m_engine.setEndHandler([this] { postCompletion(); });
}

EngineMediaPlayback::~EngineMediaPlayback() {
    m_engine.setEndHandler({});
    m_output.reset(); // no rendering thread from here on
    m_engine.close();
}

void EngineMediaPlayback::postCompletion() {
    // Queued even on the user-interface thread, so that the handler never runs inside a
    // command of the device.
    QMetaObject::invokeMethod(
        m_receiver.get(), [this] { notifyCompletion(); }, Qt::QueuedConnection);
}

bool EngineMediaPlayback::ensureOutput(const QString& path, QString* error) {
    if (m_output->isStarted())
        return true;
    QString reason;
    if (m_output->start([this](float* out, int frames) { return m_engine.render(out, frames); },
                        &reason))
        return true;
    SetError(error,
             CannotPlayText(
                 path, QStringLiteral("no audio output device is available (%1)").arg(reason)));
    return false;
}

bool EngineMediaPlayback::open(const QString& deviceType, const QString& path, QString* error) {
    close();
    PlaybackDevice device = PlaybackDevice::WaveAudio;
    if (deviceType == QLatin1String("Sequencer")) {
        device = PlaybackDevice::Sequencer;
    } else if (deviceType != QLatin1String("WaveAudio")) {
        SetError(error, QStringLiteral("Unknown playback device \"%1\".").arg(deviceType));
        return false;
    }
    if (path.isEmpty()) {
        m_open = device == PlaybackDevice::WaveAudio;
        if (!m_open)
            SetError(error, QStringLiteral("The sequencer needs a MIDI file to open."));
        return m_open;
    }
    if (!ensureOutput(path, error) || !m_engine.open(device, path, m_output->sampleRate(), error))
        return false;
    m_open = true;
    return true;
}

void EngineMediaPlayback::close() {
    if (m_engine.close())
        postCompletion();
    m_open = false;
}

bool EngineMediaPlayback::checkFile(QString* error) const {
    if (!m_open) {
        SetError(error, QStringLiteral("No playback device is open."));
        return false;
    }
    if (!m_engine.hasFile()) {
        SetError(error, QStringLiteral("The playback device has no file open."));
        return false;
    }
    return true;
}

bool EngineMediaPlayback::play(QString* error) {
    if (!checkFile(error))
        return false;
    bool superseded = false;
    m_engine.play(&superseded);
    if (superseded)
        postCompletion();
    return true;
}

bool EngineMediaPlayback::stop(QString* error) {
    if (!checkFile(error))
        return false;
    if (m_engine.stop())
        postCompletion();
    return true;
}

bool EngineMediaPlayback::seek(std::int64_t position, QString* error) {
    if (!checkFile(error))
        return false;
    m_engine.seek(position);
    return true;
}

bool EngineMediaPlayback::setTimeFormatMilliseconds(QString* error) {
    if (!m_open) {
        SetError(error, QStringLiteral("No playback device is open."));
        return false;
    }
    m_engine.setTimeUnit(TimeUnit::Milliseconds);
    return true;
}

int EngineMediaPlayback::mode() const {
    if (!m_open)
        return NotReady;
    return m_engine.isPlaying() ? Playing : Stopped;
}

std::int64_t EngineMediaPlayback::position() const {
    return m_open ? m_engine.position() : 0;
}

std::int64_t EngineMediaPlayback::length() const {
    return m_open ? m_engine.length() : 0;
}

std::unique_ptr<MediaPlayback> CreateMediaPlayback(std::unique_ptr<AudioOutput> output,
                                                   const QString& soundFontFolder) {
    return std::make_unique<EngineMediaPlayback>(std::move(output), soundFontFolder);
}

std::unique_ptr<MediaPlayback> CreateSystemMediaPlayback() {
    return CreateMediaPlayback(std::make_unique<SdlAudioOutput>(), DefaultSoundFontFolder());
}
