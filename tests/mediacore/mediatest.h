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

// Tests that play MIDI need the General MIDI soundfont the install script installs.
#define REQUIRE_SOUNDFONT()                                                                        \
    do {                                                                                           \
        if (FindGeneralMidiSoundFont(DefaultSoundFontFolder()).isEmpty())                          \
            GTEST_SKIP() << "no General MIDI soundfont installed";                                 \
    } while (false)
