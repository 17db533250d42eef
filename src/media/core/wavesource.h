#pragma once

#include "media/core/playbacksource.h"

#include <QString>
#include <memory>
#include <vector>

typedef struct sf_private_tag SNDFILE;
typedef struct SRC_STATE_tag SRC_STATE;

// A WAV file decoded with libsndfile as it plays (8/16/24/32-bit PCM or 32-bit float, any
// number of channels, any rate) and converted to the output's rate. Mono plays on both
// sides; of more channels the first two play. Positions and lengths are milliseconds.
class WaveSource : public PlaybackSource {
public:
    // The file at `path`, or null with `reason` saying why it cannot be played.
    static std::unique_ptr<WaveSource> open(const QString& path, int outputRate, QString* reason);
    ~WaveSource() override;

    int render(float* out, int frames) override;
    std::int64_t length(TimeUnit unit) const override;
    std::int64_t position(TimeUnit unit) const override;
    void seek(std::int64_t position, TimeUnit unit) override;
    bool atEnd() const override;

    int fileRate() const { return m_fileRate; }
    std::int64_t fileFrames() const { return m_fileFrames; }

private:
    WaveSource() = default;
    bool startResampler(QString* reason);
    // Reads up to `frames` frames of the file as stereo into m_stereo; returns the count.
    int readStereo(int frames);
    static long feed(void* self, float** data);
    std::int64_t positionFrames() const;

    SNDFILE* m_file = nullptr;
    int m_fd = -1;
    SRC_STATE* m_resampler = nullptr;
    int m_channels = 0;
    int m_fileRate = 0;
    int m_outputRate = 0;
    std::int64_t m_fileFrames = 0;
    std::int64_t m_startFrame = 0; // file frame of the last seek
    std::int64_t m_framesRead = 0; // file frames read since then
    std::int64_t m_framesOut = 0;  // output frames rendered since then
    bool m_ended = false;
    std::vector<float> m_raw;
    std::vector<float> m_stereo;
};
