// The media centre's player strip: Play and Stop on the selected file, the time text and
// the position bar, with their diagnostic log entries.

#include "app/mainform.h"
#include "app/messages.h"
#include "app/stringgrid.h"
#include "card/vocabulary.h"
#include "media/core/logfile.h"
#include "media/core/medialist.h"
#include "media/core/mediaplayertext.h"
#include "platform/mediaplayback.h"
#include "platform/shell.h"
#include "transfer/sizetext.h"

#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <exception>

namespace {

// A file the device could not open: the message names the file and says why.
class PlayerOpenFailure : public std::exception {
public:
    PlayerOpenFailure(const QString& path, const QString& reason) {
        QString text = reason.isEmpty() ? QStringLiteral("The file cannot be played.") : reason;
        if (!text.contains(path))
            text = QStringLiteral("Cannot play \"") + path + QStringLiteral("\":\r\n") + text;
        m_message = text.toLocal8Bit();
    }
    const char* what() const noexcept override { return m_message.constData(); }

private:
    QByteArray m_message;
};

// The hour-glass for the lifetime of the guard, also when a step throws.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void restore() {
        if (m_on)
            QApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on = true;
};

QString QuotedFileText(const QString& label, const QString& name) {
    return label + u'"' + name + u'"';
}

bool IsDeviceFile(int device) {
    return device == PlayerDeviceSequencer || device == PlayerDeviceWaveAudio;
}

bool PathTooLongForSequencer(int device, const QString& path) {
    return device == PlayerDeviceSequencer && path.size() > MaxSequencerPathLength;
}

} // namespace

void TFormMain::setTimeText(const QString& text) {
    m_labelTime->setText(text);
    m_labelTime->repaint();
}

void TFormMain::MediaPlayer1Click(PlayerButton button, bool& doDefault) {
    const int tab = m_mediaPages->currentIndex();
    StringGrid* grid = m_mediaGrids.value(tab);
    m_player->setTimeFormatMilliseconds();
    m_progressBar->setRange(0, 0);
    const QString name = selectedMediaName(grid);
    if (button == PlayerButton::Play) {
        m_log.WriteLine(QString());
        m_log.WriteEntry(
            QStringLiteral("MediaPlayer1Click() "),
            QuotedFileText(QStringLiteral("[PLAY] button pressed  (Filename = "), name));
        if (!IsBlankText(name)) {
            const QString path = MediaFilePath(m_info.rootPath(), tab, name);
            const int device = PlayerDeviceTypeFor(name);
            m_player->setWait(false);
            if (device == PlayerDeviceOther) {
                m_timer->stop();
                m_services.shell.openDocument(path);
                doDefault = false; // the file that was open before stays silent
            } else if (IsDeviceFile(device)) {
                if (device != m_player->deviceType() || path != m_player->fileName()) {
                    ReOpenMediaPlayer(path, device);
                    if (PathTooLongForSequencer(device, path))
                        doDefault = false;
                } else {
                    continueOpenFile();
                }
            }
        }
    } else {
        m_log.WriteEntry(
            QStringLiteral("MediaPlayer1Click() "),
            QuotedFileText(QStringLiteral("[STOP] button pressed  (Filename = "), name));
        m_timer->stop();
    }
    writeModeEntry(QStringLiteral("MediaPlayer1Click()  (end)  Mode"));
}

// Play on the file that is open: it goes on from where it stopped, or from the start once
// it has played to its end, and the time text and the bar follow it again.
void TFormMain::continueOpenFile() {
    if (!m_player->isOpen())
        return;
    const std::int64_t length = m_player->length();
    if (m_player->mode() != MediaPlayback::Playing && length > 0 && m_player->position() >= length)
        m_player->seek(0);
    m_playerDeviceType = m_player->deviceType();
    m_progressBar->setMaximum(length);
    m_progressBar->setPosition(m_player->position());
    m_timer->start();
}

void TFormMain::ReOpenMediaPlayer(const QString& path, int device) {
    if (!IsDeviceFile(device))
        return;
    WaitCursor busy;
    const QString fileText = QuotedFileText(QStringLiteral("   Filename = "), path);
    m_log.WriteEntry(QStringLiteral("ReOpenMediaPlayer() (before Close)  Mode"),
                     PlayerModeText(m_player->mode()) + fileText);
    m_timer->stop();
    setTimeText(PlayerZeroTimeText(device));
    if (!PathTooLongForSequencer(device, path)) {
        if (m_player->mode() >= 1) {
            m_player->setNotify(false);
            m_player->close();
        }
        m_player->setFileName(path);
        m_player->setDeviceType(device);
        QString error;
        if (!m_player->open(&error)) {
            // Nothing is open now; the next Play opens its file afresh.
            m_player->setFileName(QString());
            m_player->setDeviceType(PlayerDeviceNone);
            throw PlayerOpenFailure(path, error);
        }
        m_log.WriteEntry(QStringLiteral("ReOpenMediaPlayer() (after Open)  Mode"),
                         PlayerModeText(m_player->mode()) + fileText);
        m_playerDeviceType = device;
        m_progressBar->setMaximum(m_player->length());
        m_timer->start();
    }
    busy.restore();
    writeModeEntry(QStringLiteral("ReOpenMediaPlayer()  (end)  Mode"));
}

void TFormMain::MediaPlayer1PostClick(PlayerButton button) {
    const int tab = m_mediaPages->currentIndex();
    const QString name = selectedMediaName(m_mediaGrids.value(tab));
    if (button == PlayerButton::Play && !IsBlankText(name)) {
        const QString path = MediaFilePath(m_info.rootPath(), tab, name);
        const int device = PlayerDeviceTypeFor(name);
        m_player->setWait(false);
        if (device == PlayerDeviceOther) {
            m_player->setFileName(path);
            m_player->setDeviceType(PlayerDeviceOther);
            m_timer->stop();
            m_player->stop();
        } else if (PathTooLongForSequencer(device, path)) {
            if (m_player->mode() >= MediaPlayback::Playing) {
                m_player->setNotify(false);
                m_player->stop();
            }
            m_messages.plain(this, QStringLiteral("SMF pathname too long"));
        }
    } else if (button == PlayerButton::Stop) {
        m_timer->stop();
        setTimeText(PlayerZeroTimeText(m_player->deviceType()));
    }
    writeModeEntry(QStringLiteral("MediaPlayer1__Post__Click()  (end)  Mode"));
}

void TFormMain::MediaPlayer1Notify() {
    writeModeEntry(QStringLiteral("MediaPlayer1Notify()  Mode"));
    m_player->setNotify(true);
}

void TFormMain::Timer1Timer() {
    if (m_player->mode() != MediaPlayback::Playing)
        return;
    const std::int64_t position = m_player->position();
    m_labelTime->setText(PlayerTimeText(m_playerDeviceType, position));
    m_progressBar->setPosition(m_player->position());
}

void TFormMain::ProgressBar1MouseDown(int x) {
    const int width = m_progressBar->width();
    if (width <= 0)
        return;
    const double fraction = static_cast<double>(x) / static_cast<double>(width);
    const auto target =
        static_cast<std::int64_t>(static_cast<double>(m_player->length()) * fraction);
    m_player->seek(target);
    // The time text and the bar follow the play the click starts, also after a Stop.
    const bool followed = m_player->isOpen() && IsDeviceFile(m_player->deviceType());
    if (followed) {
        m_playerDeviceType = m_player->deviceType();
        m_progressBar->setMaximum(m_player->length());
    }
    m_progressBar->setPosition(m_player->position());
    m_player->play();
    if (followed)
        m_timer->start();
}
