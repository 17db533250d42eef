#include "app/support/mainwindowfixture.h"

#include "app/support/cardsongs.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

void MainWindowFixture::setUpWindowFixture() {
    QStandardPaths::setTestModeEnabled(true);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char* folder : {"home", "plain", "wine/dosdevices"})
        QVERIFY(QDir().mkpath(path(QLatin1String(folder))));
    qputenv("HOME", path(QStringLiteral("home")).toLocal8Bit());
    qputenv("WINEPREFIX", path(QStringLiteral("wine")).toLocal8Bit());
    QVERIFY(WriteNumberedSongs(CardFixture(path(QStringLiteral("backup"))), 3));
    QVERIFY(WriteNumberedSongs(CardFixture(path(QStringLiteral("card"))), 2));
    m_drives = std::make_unique<FakeDrives>();
    m_drives->setDrive({.letter = u'C',
                        .root = QStringLiteral("/"),
                        .label = QString(),
                        .totalBytes = 100'000'000'000,
                        .freeBytes = 40'000'000'000});
    m_shell = FakeShell();
    m_messages.clear();
    m_playback = std::make_unique<FakeMediaPlayback>();
    m_log = std::make_unique<LogFile>(false);
    m_alt = false;
    m_loads = 0;
    m_launcher = nullptr;
}

void MainWindowFixture::tearDownWindowFixture() {
    m_about.reset();
    m_preferences.reset();
    m_selectFolder.reset();
    m_newFolder.reset();
    m_window.reset(); // the rest is replaced by the next set-up
    m_dir.reset();
}

void MainWindowFixture::writeSettings(const QString& text) {
    QVERIFY(files().writeFile(QStringLiteral("sorvane.ini"), text.toUtf8()));
}

void MainWindowFixture::putCardIn(const QString& label) {
    m_drives->setDrive({.letter = u'E',
                        .root = path(QStringLiteral("card")),
                        .type = DriveType::Removable,
                        .label = label,
                        .totalBytes = 2'000'000'000,
                        .freeBytes = 500'000'000});
}

TFormMain& MainWindowFixture::open(bool show) {
    MainFormServices services{*m_drives,
                              m_shell,
                              m_messages,
                              path(QStringLiteral("sorvane.ini")),
                              path(QStringLiteral("help/index.html")),
                              path(QStringLiteral("help/home.html")),
                              [this] { return m_alt; },
                              *m_playback,
                              *m_log};
    services.launcher = m_launcher;
    services.virtualDriveTimeout = m_virtualDriveTimeout;
    services.driveWatcher = &m_driveWatcher;
    services.noticeMilliseconds = m_noticeMilliseconds;
    services.calendarSeconds = m_calendarSeconds;
    m_window = std::make_unique<TFormMain>(services);
    auto refresh = m_window->info().mediaListRefresher();
    m_window->info().setMediaListRefresher([this, refresh](SOV_Info& info) {
        ++m_loads;
        if (refresh)
            refresh(info);
    });
    if (show) {
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qWarning("window not exposed");
    }
    return *m_window;
}

void MainWindowFixture::makeDialogs() {
    m_newFolder = std::make_unique<TFormNewFolder>();
    m_selectFolder = std::make_unique<TFormSelectFolder>(*m_drives, *m_newFolder, m_messages);
    m_preferences = std::make_unique<TFormPreferences>(*m_selectFolder);
    m_about = std::make_unique<TFormAbout>(m_window->versionLabelText());
    m_window->setDialogs(m_preferences.get(), m_about.get());
}

QString MainWindowFixture::defaultDirSettings(const QString& folder, const QString& more) const {
    return QStringLiteral("[Paths]\nDefaultDir=") + path(folder) + QStringLiteral("\n") + more;
}
