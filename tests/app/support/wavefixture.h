#pragma once

#include "app/support/mainwindowfixture.h"
#include "platform/fakeprocesslauncher.h"
#include "platform/qprocesslauncher.h"

#include <QByteArray>
#include <QString>

// The main-window fixture with what the WAV button needs: a converter folder <tmp>/conv,
// the Wine prefix's usual z: entry leading to "/" (so the program's spare letter is Y), a
// real and a fake launcher, and a short wait for the virtual drive.
class WaveFixture : public MainWindowFixture {
protected:
    static constexpr int ShortWaitMs = 150;

    void setUpWaveFixture();
    void tearDownWaveFixture();

    // Writes an executable shell script (a "#!/bin/sh" line is put before `body`).
    bool writeScript(const QString& relative, const QByteArray& body);
    // A fake converter at <tmp>/conv/convert.sh: it records its arguments, its working
    // folder, the BRWC.ini it finds and where the prefix's y: entry leads into <tmp>/run,
    // waits `sleepSeconds` and exits with 3.
    QString writeRecordingConverter(const QByteArray& sleepSeconds = "0");
    // Settings with the start folder <tmp>/<folder> and the converter path.
    void writeWaveSettings(const QString& folder, const QString& converter);
    // The file <tmp>/run/<name> the fake converter wrote.
    QByteArray recorded(const QString& name) const;
    QByteArray brwcIni() const;
    QString yLink() const { return path(QStringLiteral("wine/dosdevices/y:")); }
    // The folder as the converter reads it in BRWC.ini, through z: ("/").
    QString windowsPath(const QString& relative) const;

    QProcessLauncher m_realLauncher;
    FakeProcessLauncher m_fakeLauncher;
    QByteArray m_savedPath;
};
