#pragma once

#include "media/core/playbackengine.h"
#include "platform/audiooutput.h"
#include "platform/mediaplayback.h"

#include <QObject>
#include <memory>

// The playback device of the player strip: the playback engine rendering into one audio
// output shared by "WaveAudio" and "Sequencer". Completion of a play is posted to the thread
// that made the device (the user-interface thread) and handled there.
class EngineMediaPlayback : public MediaPlayback {
public:
    EngineMediaPlayback(std::unique_ptr<AudioOutput> output, const QString& soundFontFolder);
    ~EngineMediaPlayback() override;

    bool open(const QString& deviceType, const QString& path, QString* error) override;
    void close() override;
    bool isOpen() const override { return m_open; }

    bool play(QString* error) override;
    bool stop(QString* error) override;
    bool seek(std::int64_t position, QString* error) override;
    bool setTimeFormatMilliseconds(QString* error) override;

    int mode() const override;
    std::int64_t position() const override;
    std::int64_t length() const override;

    AudioOutput& output() { return *m_output; }
    const PlaybackEngine& engine() const { return m_engine; }

private:
    bool ensureOutput(const QString& path, QString* error);
    bool checkFile(QString* error) const;
    void postCompletion();

    PlaybackEngine m_engine;
    std::unique_ptr<AudioOutput> m_output;
    std::unique_ptr<QObject> m_receiver; // lives on the user-interface thread
    bool m_open = false;
};
