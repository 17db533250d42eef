#include "media/core/wavesource.h"

#include "media/core/mediafile.h"

#include <algorithm>
#include <cmath>
#include <samplerate.h>
#include <sndfile.h>
#include <unistd.h>

namespace {

constexpr int ChunkFrames = 4096;

bool IsWavContainer(int format) {
    const int major = format & SF_FORMAT_TYPEMASK;
    return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64;
}

} // namespace

std::unique_ptr<WaveSource> WaveSource::open(const QString& path, int outputRate, QString* reason) {
    const int fd = OpenMediaFile(path, reason);
    if (fd < 0)
        return nullptr;
    SF_INFO info{};
    // The descriptor stays this source's own: libsndfile never closes it.
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (!file) {
        ::close(fd);
        if (reason)
            *reason = QStringLiteral("it is not a WAV file that can be read (%1)")
                          .arg(QString::fromLocal8Bit(sf_strerror(nullptr)));
        return nullptr;
    }
    std::unique_ptr<WaveSource> source(new WaveSource);
    source->m_file = file;
    source->m_fd = fd;
    if (!IsWavContainer(info.format) || info.channels < 1 || info.samplerate < 1) {
        if (reason)
            *reason = QStringLiteral("it is not a WAV file");
        return nullptr;
    }
    source->m_channels = info.channels;
    source->m_fileRate = info.samplerate;
    source->m_outputRate = std::max(outputRate, 1);
    source->m_fileFrames = std::max<sf_count_t>(info.frames, 0);
    if (!source->startResampler(reason))
        return nullptr;
    return source;
}

WaveSource::~WaveSource() {
    if (m_resampler)
        src_delete(m_resampler);
    if (m_file)
        sf_close(m_file);
    if (m_fd >= 0)
        ::close(m_fd);
}

bool WaveSource::startResampler(QString* reason) {
    if (m_fileRate == m_outputRate)
        return true;
    if (!src_is_valid_ratio(static_cast<double>(m_outputRate) / m_fileRate)) {
        if (reason)
            *reason = QStringLiteral("its sample rate of %1 Hz cannot be played").arg(m_fileRate);
        return false;
    }
    int error = 0;
    m_resampler = src_callback_new(&WaveSource::feed, SRC_SINC_FASTEST, 2, &error, this);
    if (!m_resampler && reason)
        *reason = QStringLiteral("its sample rate cannot be converted (%1)")
                      .arg(QString::fromLatin1(src_strerror(error)));
    return m_resampler != nullptr;
}

int WaveSource::readStereo(int frames) {
    m_raw.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(m_channels));
    m_stereo.resize(static_cast<std::size_t>(frames) * 2);
    const sf_count_t got = sf_readf_float(m_file, m_raw.data(), frames);
    const int count = got > 0 ? static_cast<int>(got) : 0;
    for (int i = 0; i < count; ++i) {
        const float* in = m_raw.data() + static_cast<std::ptrdiff_t>(i) * m_channels;
        m_stereo[2 * i] = in[0];
        m_stereo[2 * i + 1] = m_channels > 1 ? in[1] : in[0];
    }
    m_framesRead += count;
    return count;
}

long WaveSource::feed(void* self, float** data) {
    auto* source = static_cast<WaveSource*>(self);
    const int count = source->readStereo(ChunkFrames);
    *data = source->m_stereo.data();
    return count;
}

int WaveSource::render(float* out, int frames) {
    if (m_ended || frames <= 0)
        return 0;
    int done = 0;
    if (!m_resampler) {
        while (done < frames) {
            const int count = readStereo(std::min(frames - done, ChunkFrames));
            if (count == 0)
                break;
            std::copy_n(m_stereo.data(), 2 * count, out + 2 * done);
            done += count;
        }
    } else {
        const double ratio = static_cast<double>(m_outputRate) / m_fileRate;
        const long got = src_callback_read(m_resampler, ratio, frames, out);
        done = got > 0 ? static_cast<int>(got) : 0;
    }
    m_framesOut += done;
    if (done < frames)
        m_ended = true;
    return done;
}

std::int64_t WaveSource::positionFrames() const {
    if (m_ended)
        return m_fileFrames;
    std::int64_t frames = m_framesRead;
    if (m_resampler)
        frames =
            static_cast<std::int64_t>(static_cast<double>(m_framesOut) * m_fileRate / m_outputRate);
    return std::min(m_startFrame + frames, m_fileFrames);
}

std::int64_t WaveSource::length(TimeUnit) const {
    return m_fileFrames * 1000 / m_fileRate;
}

std::int64_t WaveSource::position(TimeUnit) const {
    return positionFrames() * 1000 / m_fileRate;
}

void WaveSource::seek(std::int64_t position, TimeUnit) {
    const std::int64_t ms = std::clamp<std::int64_t>(position, 0, length(TimeUnit::Milliseconds));
    // The first frame at or after the millisecond, so that the position reads back as `ms`.
    const std::int64_t frame = std::min((ms * m_fileRate + 999) / 1000, m_fileFrames);
    sf_seek(m_file, frame, SEEK_SET);
    if (m_resampler)
        src_reset(m_resampler);
    m_startFrame = frame;
    m_framesRead = 0;
    m_framesOut = 0;
    m_ended = false;
}

bool WaveSource::atEnd() const {
    return m_ended || positionFrames() >= m_fileFrames;
}
