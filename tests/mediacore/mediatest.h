#pragma once

#include "fixture/mediafixture.h"
#include "media/core/soundfontsynth.h"
#include "support/cardtest.h"

#include <QFile>
#include <gtest/gtest.h>
#include <vector>

// Media files written into a fresh temporary folder.
class MediaFolder {
public:
    QString write(const QString& name, const QByteArray& bytes) const {
        QFile file(m_temp.path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return file.fileName();
    }
    QString path(const QString& name) const { return m_temp.path(name); }
    QString folder() const { return m_temp.path(); }

private:
    TempFolder m_temp;
};

inline QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// Renders with `render(out, frames)` in blocks until fewer frames than asked come back;
// returns every frame rendered (interleaved stereo). Stops after `maxFrames` in any case.
template <typename Render>
std::vector<float> RenderToEnd(Render&& render, int block = 512, std::int64_t maxFrames = 1 << 24) {
    std::vector<float> all;
    std::vector<float> buffer(2 * static_cast<std::size_t>(block));
    for (std::int64_t total = 0; total < maxFrames; total += block) {
        const int got = render(buffer.data(), block);
        all.insert(all.end(), buffer.begin(), buffer.begin() + 2 * got);
        if (got < block)
            break;
    }
    return all;
}

inline float Peak(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

// Tests that play MIDI need the General MIDI soundfont the install script installs.
#define REQUIRE_SOUNDFONT()                                                                        \
    do {                                                                                           \
        if (FindGeneralMidiSoundFont(DefaultSoundFontFolder()).isEmpty())                          \
            GTEST_SKIP() << "no General MIDI soundfont installed";                                 \
    } while (false)
