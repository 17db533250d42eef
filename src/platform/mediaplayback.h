#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// The playback device behind the player strip: one device at a time, "WaveAudio" for WAV
// files or "Sequencer" for standard MIDI files. Every call is made on the user-interface
// thread and returns at once; audio is produced elsewhere.
class MediaPlayback {
public:
    // Mode numbers as the player strip shows and logs them.
    enum Mode : int {
        NotReady = 0,
        Stopped = 1,
        Playing = 2,
        Recording = 3,
        Seeking = 4,
        Paused = 5,
        Open = 6,
    };

    virtual ~MediaPlayback() = default;

    // Opens `deviceType` ("WaveAudio" or "Sequencer") on `path`; an empty path opens the
    // wave-audio device without a file. Any device still open is closed first. On failure
    // no device is open afterwards and `error` (when given) says why, naming the file.
    virtual bool open(const QString& deviceType, const QString& path, QString* error) = 0;
    // Releases the device; a play in progress completes (its notification is sent).
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Starts playback from the current position. When it ends, is stopped, closed or
    // superseded, the completion handler is called once, on the user-interface thread.
    virtual bool play(QString* error) = 0;
    // Halts playback; the position stays where it was.
    virtual bool stop(QString* error) = 0;
    // Moves the position to `position`, in the current time format's units.
    virtual bool seek(std::int64_t position, QString* error) = 0;
    // From now on positions and lengths are milliseconds (a sequencer starts in ticks).
    virtual bool setTimeFormatMilliseconds(QString* error) = 0;

    virtual int mode() const = 0;
    virtual std::int64_t position() const = 0;
    virtual std::int64_t length() const = 0;

    // Called on the user-interface thread when a play completes.
    void setCompletionHandler(std::function<void()> handler) { m_completion = std::move(handler); }

protected:
    void notifyCompletion() const {
        if (m_completion)
            m_completion();
    }

private:
    std::function<void()> m_completion;
};
