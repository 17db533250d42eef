// The work of "sorvane-cli play FILE [--render OUT.wav]", in a module the companion loads
// only for this command: plays a WAV or MIDI file through the player's own playback code,
// with the time on one terminal line (Ctrl-C stops); with --render it writes what the audio
// output would receive to a 16-bit stereo WAV file instead.

#include "media/core/soundfontsynth.h"
#include "platform/memoryaudiooutput.h"
#include "platform/systemmediaplayback.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <unistd.h>

namespace {

constexpr int RenderRate = 44100;
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

QString DeviceFor(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == QLatin1String("mid") || ext == QLatin1String("midi")
               ? QStringLiteral("Sequencer")
               : QStringLiteral("WaveAudio");
}

QString TimeText(std::int64_t ms) {
    return QStringLiteral(" %1:%2:%3 ")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'));
}

void AppendLe(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// 16-bit stereo PCM at `rate`, written beside the target and renamed over it.
bool WriteWav(const QString& path, const std::vector<float>& samples, int rate, QString& why) {
    QByteArray data;
    data.reserve(static_cast<qsizetype>(samples.size()) * 2);
    for (float s : samples)
        AppendLe(data,
                 static_cast<std::uint16_t>(
                     static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f))),
                 2);
    QByteArray header("RIFF");
    AppendLe(header, 36 + static_cast<std::uint32_t>(data.size()), 4);
    header.append("WAVEfmt ");
    for (std::uint32_t v : {16u, 1u | (2u << 16), static_cast<std::uint32_t>(rate),
                            static_cast<std::uint32_t>(rate) * 4, 4u | (16u << 16)})
        AppendLe(header, v, 4);
    header.append("data");
    AppendLe(header, static_cast<std::uint32_t>(data.size()), 4);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(header) != header.size() ||
        file.write(data) != data.size() || !file.commit()) {
        why = file.errorString();
        return false;
    }
    return true;
}

bool StartPlaying(MediaPlayback& player, const QString& path, QTextStream& err) {
    QString error;
    if (!player.open(DeviceFor(path), path, &error) || !player.setTimeFormatMilliseconds(&error) ||
        !player.play(&error)) {
        err << error << '\n';
        return false;
    }
    return true;
}

int Render(const QString& path, const QString& target, QTextStream& out, QTextStream& err) {
    auto output = std::make_unique<MemoryAudioOutput>(RenderRate);
    MemoryAudioOutput& memory = *output;
    const std::unique_ptr<MediaPlayback> player =
        CreateMediaPlayback(std::move(output), DefaultSoundFontFolder());
    if (!StartPlaying(*player, path, err))
        return 1;
    std::vector<float> samples;
    while (player->mode() == MediaPlayback::Playing)
        memory.pullInto(samples, 4096);
    QString why;
    if (!WriteWav(target, samples, RenderRate, why)) {
        err << "sorvane-cli: cannot write \"" << target << "\": " << why << '\n';
        return 1;
    }
    const std::int64_t frames = static_cast<std::int64_t>(samples.size() / 2);
    out << "Rendered " << frames << " frames ("
        << QString::number(static_cast<double>(frames) / RenderRate, 'f', 3) << " s) at "
        << RenderRate << " Hz to " << target << '\n';
    return 0;
}

int Play(const QString& path, QTextStream& out, QTextStream& err) {
    const std::unique_ptr<MediaPlayback> player = CreateSystemMediaPlayback();
    if (!StartPlaying(*player, path, err))
        return 1;
    const bool terminal = ::isatty(STDOUT_FILENO) != 0;
    const QString total = TimeText(player->length());
    QEventLoop loop;
    player->setCompletionHandler([&loop] { loop.quit(); });
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QString error;
        if (g_interrupted)
            player->stop(&error);
        if (terminal) {
            out << '\r' << TimeText(player->position()) << '/' << total;
            out.flush();
        }
    });
    g_interrupted = 0;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    timer.start(100);
    loop.exec();
    std::signal(SIGINT, previous);
    out << (terminal ? "\r" : "") << TimeText(player->position()) << '/' << total << '\n';
    return 0;
}

} // namespace

extern "C" Q_DECL_EXPORT int SorvaneCliPlay(const QString& path, const QString& target,
                                            QTextStream& out, QTextStream& err) {
    return target.isEmpty() ? Play(path, out, err) : Render(path, target, out, err);
}
