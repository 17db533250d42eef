#include "platform/fakemediaplayback.h"

#include <algorithm>

bool FakeMediaPlayback::fail(QString* error, const QString& text) const {
    if (error)
        *error = text;
    return false;
}

void FakeMediaPlayback::complete() {
    m_playing = false;
    ++m_completions;
    notifyCompletion();
}

bool FakeMediaPlayback::open(const QString& deviceType, const QString& path, QString* error) {
    m_calls.append(QStringLiteral("open ") + deviceType + u' ' + path);
    if (m_open)
        close();
    if (!m_noOutput.isEmpty())
        return fail(error, m_noOutput);
    if (deviceType != u"WaveAudio" && deviceType != u"Sequencer")
        return fail(error, QStringLiteral("Unknown device type \"") + deviceType + u'"');
    File file;
    if (!path.isEmpty()) {
        const auto it = m_files.constFind(path);
        if (it == m_files.constEnd())
            return fail(error, u'"' + path + QStringLiteral("\": no such file"));
        if (!it->openError.isEmpty())
            return fail(error, u'"' + path + QStringLiteral("\": ") + it->openError);
        file = *it;
    }
    m_open = true;
    m_deviceType = deviceType;
    m_path = path;
    m_file = file;
    m_positionMs = 0;
    m_milliseconds = deviceType == u"WaveAudio";
    return true;
}

void FakeMediaPlayback::close() {
    m_calls.append(QStringLiteral("close"));
    const bool wasPlaying = m_playing;
    m_open = false;
    m_playing = false;
    m_path.clear();
    m_deviceType.clear();
    if (wasPlaying)
        complete();
}

bool FakeMediaPlayback::play(QString* error) {
    m_calls.append(QStringLiteral("play"));
    if (!m_open)
        return fail(error, QStringLiteral("No device is open"));
    if (m_path.isEmpty())
        return fail(error, QStringLiteral("No file is open"));
    if (!m_playError.isEmpty())
        return fail(error, m_playError);
    if (m_playing) // a new play supersedes the one in progress
        complete();
    m_playing = true;
    if (m_positionMs >= m_file.lengthMs)
        complete(); // nothing left to play: it ends at once
    return true;
}

bool FakeMediaPlayback::stop(QString* error) {
    m_calls.append(QStringLiteral("stop"));
    if (!m_open)
        return fail(error, QStringLiteral("No device is open"));
    if (m_playing)
        complete();
    return true;
}

bool FakeMediaPlayback::seek(std::int64_t position, QString* error) {
    m_calls.append(QStringLiteral("seek ") + QString::number(position));
    if (!m_open)
        return fail(error, QStringLiteral("No device is open"));
    if (m_path.isEmpty())
        return fail(error, QStringLiteral("No file is open"));
    if (m_playing)
        complete();
    m_positionMs = std::clamp<std::int64_t>(toMs(position), 0, m_file.lengthMs);
    return true;
}

bool FakeMediaPlayback::setTimeFormatMilliseconds(QString* error) {
    m_calls.append(QStringLiteral("timeformat ms"));
    if (!m_open)
        return fail(error, QStringLiteral("No device is open"));
    m_milliseconds = true;
    return true;
}

int FakeMediaPlayback::mode() const {
    if (!m_open)
        return NotReady;
    return m_playing ? Playing : Stopped;
}

std::int64_t FakeMediaPlayback::toUnits(std::int64_t ms) const {
    if (!inTicks() || m_file.lengthMs <= 0)
        return ms;
    return ms * m_file.lengthTicks / m_file.lengthMs;
}

std::int64_t FakeMediaPlayback::toMs(std::int64_t units) const {
    if (!inTicks() || m_file.lengthTicks <= 0)
        return units;
    return units * m_file.lengthMs / m_file.lengthTicks;
}

std::int64_t FakeMediaPlayback::position() const {
    return m_open ? toUnits(m_positionMs) : 0;
}

std::int64_t FakeMediaPlayback::length() const {
    return m_open ? toUnits(m_file.lengthMs) : 0;
}

void FakeMediaPlayback::advance(std::int64_t ms) {
    if (!m_playing)
        return;
    m_positionMs = std::min(m_file.lengthMs, m_positionMs + ms);
    if (m_positionMs >= m_file.lengthMs)
        complete();
}

void FakeMediaPlayback::finish() {
    if (!m_playing)
        return;
    m_positionMs = m_file.lengthMs;
    complete();
}
