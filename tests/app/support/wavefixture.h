#pragma once

#include "app/support/mainwindowfixture.h"
#include "platform/fakeprocesslauncher.h"
#include "platform/qprocesslauncher.h"

#include <QByteArray>
#include <QString>

// The main-window fixture with what the WAV button needs: a converter folder <tmp>/conv,
// the Wine prefix's usual z: entry leading to "/" (so the spare letter is Y), a real and a
// fake launcher, and a short wait for the virtual drive.
class WaveFixture : public MainWindowFixture {
protected:
    static constexpr int ShortWaitMs = 150;

    void setUpWaveFixture();
    void tearDownWaveFixture();

    // An executable shell script at <tmp>/<relative>; returns its path.
    QString writeScript(const QString& relative, const QByteArray& body);
    // Settings with the start folder <tmp>/<folder> and the converter path, and the window
    // built with `launcher`.
    TFormMain& openWith(const QString& folder, const QString& converter, ProcessLauncher& launcher);
    // The file <tmp>/<relative>; empty when missing.
    QByteArray contents(const QString& relative) const;
    QString yLink() const { return path(QStringLiteral("wine/dosdevices/y:")); }
    // The folder <tmp>/<relative> as the converter reads it in BRWC.ini, through z: ("/").
    QString windowsPath(const QString& relative) const;

    QProcessLauncher m_realLauncher;
    FakeProcessLauncher m_fakeLauncher;
    QByteArray m_savedPath;
};
