#pragma once

#include "app/aboutform.h"
#include "app/mainform.h"
#include "app/newfolder.h"
#include "app/preferences.h"
#include "app/selectfolder.h"
#include "app/support/recordingmessageboxes.h"
#include "fixture/cardfixture.h"
#include "media/core/logfile.h"
#include "platform/drivewatcher.h"
#include "platform/fakedrives.h"
#include "platform/fakemediaplayback.h"
#include "platform/fakeshell.h"

#include <QTemporaryDir>
#include <memory>

class ProcessLauncher;

// What the main-window tests share: fake drives, a fake shell and recorded message boxes,
// with card roots written by the fixture builder into a fresh temporary folder:
//   <tmp>/home        the home folder (HOME)
//   <tmp>/backup      a backup folder with three songs, on the fixed drive C ("/")
//   <tmp>/plain       an ordinary folder
//   <tmp>/card        two songs: the root of drive E once putCardIn() is called
//   <tmp>/wine        the Wine prefix (WINEPREFIX)
//   <tmp>/sorvane.ini the settings file
// A test class derives from it and calls setUpWindowFixture() / tearDownWindowFixture()
// from its init() and cleanup().
class MainWindowFixture : public QObject {
protected:
    void setUpWindowFixture();
    void tearDownWindowFixture();

    QString path(const QString& relative) const { return m_dir->path() + u'/' + relative; }
    // Writes and reads files of the temporary folder by their relative paths.
    CardFixture files() const { return CardFixture(m_dir->path()); }
    void writeSettings(const QString& text);
    QString settingsText() const {
        return QString::fromUtf8(files().readFile(QStringLiteral("sorvane.ini")));
    }
    // "[Paths]\nDefaultDir=<tmp>/<folder>\n" followed by `more`.
    QString defaultDirSettings(const QString& folder, const QString& more = QString()) const;
    void putCardIn(const QString& label = QStringLiteral("BOSS_BR-864"));
    // Builds the window (running its start-up steps) and, when asked, shows it.
    TFormMain& open(bool show = true);
    // open() over the start folder <tmp>/<folder>, the settings holding `more` as well.
    TFormMain& openIn(const QString& folder = QStringLiteral("backup"), const QString& more = {}) {
        writeSettings(defaultDirSettings(folder, more));
        return open();
    }
    void makeDialogs();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeDrives> m_drives;
    FakeShell m_shell;
    RecordingMessageBoxes m_messages;
    std::unique_ptr<FakeMediaPlayback> m_playback;
    std::unique_ptr<LogFile> m_log; // off unless a test switches it on before open()
    DriveWatcher m_driveWatcher;    // announceChange() after changing m_drives
    int m_noticeMilliseconds = 5000;
    bool m_alt = false;
    std::function<std::int64_t()> m_calendarSeconds; // the system clock when not set
    int m_loads = 0;
    ProcessLauncher* m_launcher = nullptr; // given to the window as its launcher
    int m_virtualDriveTimeout = 3000;      // ms
    std::unique_ptr<TFormMain> m_window;
    std::unique_ptr<TFormNewFolder> m_newFolder;
    std::unique_ptr<TFormSelectFolder> m_selectFolder;
    std::unique_ptr<TFormPreferences> m_preferences;
    std::unique_ptr<TFormAbout> m_about;
};
