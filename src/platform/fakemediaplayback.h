#pragma once

#include "platform/mediaplayback.h"

#include <QHash>
#include <QString>
#include <QStringList>

// A playback device for tests: nothing is heard, time moves only when the test says so.
// Each file the test describes has a length in milliseconds and, for a sequencer, in ticks;
// opening a file nobody described fails, as does a file given an open failure. Every call
// is recorded as a short text ("open WaveAudio /x.wav", "play", "seek 30000", ...).
class FakeMediaPlayback : public MediaPlayback {
public:
    struct File {
        std::int64_t lengthMs = 0;
        std::int64_t lengthTicks = 0; // a sequencer's length before milliseconds are asked for
        QString openError;            // non-empty: opening this file fails with this text
    };

    // Describes a file the device can open.
    void addFile(const QString& path, const File& file) { m_files.insert(path, file); }
    // Every later play fails with `error` until it is set empty again.
    void setPlayError(const QString& error) { m_playError = error; }
    // No audio output at all: every open fails with `error` (empty: the output works).
    void setNoOutput(const QString& error) { m_noOutput = error; }

    // Lets `ms` milliseconds of playing pass; at the end of the file the play completes.
    void advance(std::int64_t ms);
    // Ends a play in progress at once, as the end of the file does.
    void finish();

    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    QString deviceType() const { return m_deviceType; }
    QString path() const { return m_path; }
    bool inMilliseconds() const { return m_milliseconds; }
    int completions() const { return m_completions; }

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

private:
    bool fail(QString* error, const QString& text) const;
    bool inTicks() const { return m_deviceType == u"Sequencer" && !m_milliseconds; }
    std::int64_t toUnits(std::int64_t ms) const;
    std::int64_t toMs(std::int64_t units) const;
    void complete();

    QHash<QString, File> m_files;
    QString m_playError;
    QString m_noOutput;
    QStringList m_calls;
    QString m_deviceType;
    QString m_path;
    File m_file;
    bool m_open = false;
    bool m_playing = false;
    bool m_milliseconds = false;
    std::int64_t m_positionMs = 0;
    int m_completions = 0;
};
