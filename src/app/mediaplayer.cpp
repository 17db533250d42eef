#include "app/mediaplayer.h"

#include "media/core/mediaplayertext.h"
#include "platform/mediaplayback.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace {

QToolButton* PlayerToolButton(const char* name, QStyle::StandardPixmap icon, const QString& text) {
    auto* button = new QToolButton;
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setIcon(button->style()->standardIcon(icon));
    button->setToolTip(QStringLiteral("Play/Stop"));
    button->setFixedSize(28, 22);
    return button;
}

} // namespace

TMediaPlayer::TMediaPlayer(MediaPlayback& device, QWidget* parent)
    : QWidget(parent), m_device(device) {
    setObjectName(QStringLiteral("MediaPlayer1"));
    setToolTip(QStringLiteral("Play/Stop"));
    m_play = PlayerToolButton("MediaPlayer1Play", QStyle::SP_MediaPlay, QStringLiteral("Play"));
    m_stop = PlayerToolButton("MediaPlayer1Stop", QStyle::SP_MediaStop, QStringLiteral("Stop"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_play);
    layout->addWidget(m_stop);
    for (const PlayerButton which : {PlayerButton::Play, PlayerButton::Stop}) {
        connect(button(which), &QToolButton::clicked, this, [this, which] {
            if (m_guard)
                m_guard([this, which] { click(which); });
            else
                click(which);
        });
    }
    m_device.setCompletionHandler([this] { deviceCompleted(); });
}

TMediaPlayer::~TMediaPlayer() {
    m_device.setCompletionHandler(nullptr);
}

void TMediaPlayer::setClickHandlers(ClickHandler click, PostClickHandler postClick) {
    m_onClick = std::move(click);
    m_onPostClick = std::move(postClick);
}

void TMediaPlayer::setEnabledButtons(bool play, bool stop) {
    m_playEnabled = play;
    m_stopEnabled = stop;
    m_play->setEnabled(play);
    m_stop->setEnabled(stop);
}

bool TMediaPlayer::isButtonEnabled(PlayerButton button) const {
    return button == PlayerButton::Play ? m_playEnabled : m_stopEnabled;
}

QToolButton* TMediaPlayer::button(PlayerButton button) const {
    return button == PlayerButton::Play ? m_play : m_stop;
}

void TMediaPlayer::click(PlayerButton button) {
    if (!isEnabled() || !isButtonEnabled(button))
        return;
    bool doDefault = true;
    if (m_onClick)
        m_onClick(button, doDefault);
    if (doDefault) {
        if (button == PlayerButton::Play)
            play();
        else
            stop();
    }
    if (m_onPostClick)
        m_onPostClick(button);
}

bool TMediaPlayer::takeNotify(bool byDefault) {
    const bool notify = m_notify.value_or(byDefault);
    m_notify.reset();
    return notify;
}

bool TMediaPlayer::takeWait(bool byDefault) {
    const bool wait = m_wait.value_or(byDefault);
    m_wait.reset();
    return wait;
}

void TMediaPlayer::record(bool ok, const QString& error) {
    m_lastError = ok ? QString() : error;
}

// A command that asked for a notification reports its completion once it has returned.
void TMediaPlayer::postNotify(bool notify) {
    if (!notify)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_onNotify)
                m_onNotify();
        },
        Qt::QueuedConnection);
}

void TMediaPlayer::deviceCompleted() {
    if (!m_playNotifies)
        return;
    m_playNotifies = false;
    if (m_onNotify)
        m_onNotify();
}

bool TMediaPlayer::open(QString* error) {
    const bool notify = takeNotify(false);
    takeWait(true);
    QString why;
    const bool ok = m_device.open(PlayerDeviceTypeName(m_deviceType), m_fileName, &why);
    record(ok, why);
    if (error)
        *error = why;
    postNotify(ok && notify);
    return ok;
}

void TMediaPlayer::close() {
    const bool notify = takeNotify(false);
    takeWait(true);
    if (m_device.isOpen())
        m_device.close();
    postNotify(notify);
}

bool TMediaPlayer::play() {
    const bool notify = takeNotify(true);
    takeWait(false);
    if (!m_device.isOpen())
        return false;
    m_playNotifies = notify;
    QString error;
    const bool ok = m_device.play(&error);
    record(ok, error);
    if (!ok)
        m_playNotifies = false;
    return ok;
}

void TMediaPlayer::stop() {
    const bool notify = takeNotify(false);
    takeWait(true);
    if (!m_device.isOpen())
        return;
    QString error;
    const bool ok = m_device.stop(&error);
    record(ok, error);
    postNotify(ok && notify);
}

void TMediaPlayer::seek(std::int64_t position) {
    const bool notify = takeNotify(false);
    takeWait(true);
    if (!m_device.isOpen())
        return;
    QString error;
    const bool ok = m_device.seek(position, &error);
    record(ok, error);
    postNotify(ok && notify);
}

void TMediaPlayer::setTimeFormatMilliseconds() {
    const bool notify = takeNotify(true);
    takeWait(true);
    if (!m_device.isOpen())
        return;
    QString error;
    const bool ok = m_device.setTimeFormatMilliseconds(&error);
    record(ok, error);
    postNotify(ok && notify);
}

bool TMediaPlayer::isOpen() const {
    return m_device.isOpen();
}

int TMediaPlayer::mode() const {
    return m_device.mode();
}

std::int64_t TMediaPlayer::position() const {
    return m_device.isOpen() ? m_device.position() : 0;
}

std::int64_t TMediaPlayer::length() const {
    return m_device.isOpen() ? m_device.length() : 0;
}

PositionBar::PositionBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ProgressBar1"));
    setFixedWidth(118);
}

void PositionBar::setRange(std::int64_t minimum, std::int64_t maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
    update();
}

void PositionBar::setPosition(std::int64_t position) {
    m_position = std::clamp(position, m_minimum, m_maximum);
    update();
}

void PositionBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 2, -1, -3);
    painter.fillRect(frame, palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    const std::int64_t span = m_maximum - m_minimum;
    if (span <= 0)
        return;
    const double part = static_cast<double>(m_position - m_minimum) / static_cast<double>(span);
    const QRect inside = frame.adjusted(1, 1, 0, 0);
    const int filled = static_cast<int>(inside.width() * part);
    painter.fillRect(QRect(inside.left(), inside.top(), filled, inside.height()),
                     palette().color(QPalette::Highlight));
}

void PositionBar::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position().toPoint().x());
}
