#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

class MediaPlayback;
class QToolButton;

enum class PlayerButton { Play, Stop };

// The player control of the media centre (MediaPlayer1): a Play and a Stop button over the
// playback device, with the device type and file name of the element it opens, and the
// one-shot wait and notify flags. A press runs the click handler, then (unless the handler
// said no) the player's own action, then the after-click handler. Commands that fail are
// recorded in lastError() and not shown.
//
// Notifications: play reports its completion by default, and setting the time format asks
// for one too; open, close, stop and seek report nothing unless the notify flag is set for
// them. A flag set by the program replaces the default for the next command only.
class TMediaPlayer : public QWidget {
    Q_OBJECT
public:
    using ClickHandler = std::function<void(PlayerButton, bool& doDefault)>;
    using PostClickHandler = std::function<void(PlayerButton)>;

    explicit TMediaPlayer(MediaPlayback& device, QWidget* parent = nullptr);
    ~TMediaPlayer() override;

    void setClickHandlers(ClickHandler click, PostClickHandler postClick);
    void setNotifyHandler(std::function<void()> notify) { m_onNotify = std::move(notify); }
    // Runs each press of a button; an error escaping the handlers ends the press there.
    void setGuard(std::function<void(const std::function<void()>&)> guard) {
        m_guard = std::move(guard);
    }

    // The buttons that react to clicks (the control as a whole is enabled apart).
    void setEnabledButtons(bool play, bool stop);
    bool isButtonEnabled(PlayerButton button) const;
    QToolButton* button(PlayerButton button) const;
    // Runs a press of the button as a click does (nothing when the button is disabled).
    void click(PlayerButton button);

    int deviceType() const { return m_deviceType; }
    void setDeviceType(int type) { m_deviceType = type; }
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& path) { m_fileName = path; }
    void setWait(bool on) { m_wait = on; }
    void setNotify(bool on) { m_notify = on; }

    // Opens the device type on the file name (no file name: the device without a file).
    bool open(QString* error);
    void close();
    bool play();
    void stop();
    void seek(std::int64_t position);
    void setTimeFormatMilliseconds();

    bool isOpen() const;
    int mode() const;
    std::int64_t position() const;
    std::int64_t length() const;
    const QString& lastError() const { return m_lastError; }

private:
    bool takeNotify(bool byDefault);
    bool takeWait(bool byDefault);
    void record(bool ok, const QString& error);
    void postNotify(bool notify);
    void deviceCompleted();

    MediaPlayback& m_device;
    QToolButton* m_play = nullptr;
    QToolButton* m_stop = nullptr;
    bool m_playEnabled = true;
    bool m_stopEnabled = true;
    ClickHandler m_onClick;
    PostClickHandler m_onPostClick;
    std::function<void()> m_onNotify;
    std::function<void(const std::function<void()>&)> m_guard;
    int m_deviceType = 0;
    QString m_fileName;
    std::optional<bool> m_wait;
    std::optional<bool> m_notify;
    bool m_playNotifies = false;
    QString m_lastError;
};

// The position bar of the player strip (ProgressBar1): a smooth bar over a 64-bit range
// that reports where it was pressed.
class PositionBar : public QWidget {
    Q_OBJECT
public:
    explicit PositionBar(QWidget* parent = nullptr);

    void setRange(std::int64_t minimum, std::int64_t maximum);
    void setMaximum(std::int64_t maximum) { setRange(m_minimum, maximum); }
    void setPosition(std::int64_t position);
    std::int64_t minimum() const { return m_minimum; }
    std::int64_t maximum() const { return m_maximum; }
    std::int64_t position() const { return m_position; }

signals:
    void pressed(int x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::int64_t m_minimum = 0;
    std::int64_t m_maximum = 100;
    std::int64_t m_position = 0;
};
