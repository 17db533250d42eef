#include "app/support/mainwindowfixture.h"

#include "app/firstrun.h"
#include "app/foldertree.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The main window's settings: first run, placement, Preferences, the closing steps and the
// spare drive letter.
class MainFormSettingsTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { setUpWindowFixture(); }
    void cleanup() { tearDownWindowFixture(); }

    void firstRunWritesSettingsAtClose();
    void maximisedCloseKeepsPlacement();
    void normalPlacementIsRestored();
    void insanePlacementIsNeitherAppliedNorWrittenBack();
    void virtualDriveLetterChoice();
    void unwritableSettingsShowError();
    void preferencesConfirmedSavesAndEnablesWave();
    void preferencesCancelledChangesNothing();
    void exitPassesThroughClosingSteps();
    void firstRunDemoFolder();
};

void MainFormSettingsTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void MainFormSettingsTest::firstRunWritesSettingsAtClose() {
    TFormMain& window = open();
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("home"))));
    QCOMPARE(window.prefs().DefaultDir, path(QStringLiteral("home")));
    QCOMPARE(window.prefs().WaveConverter, QString());
    QVERIFY(!window.ToolButtonWave()->isEnabled());
    QCOMPARE(window.size(), QSize(TFormMain::DesignWidth, TFormMain::DesignHeight));
    const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window.pos(),
             desk.center() - QPoint(TFormMain::DesignWidth / 2, TFormMain::DesignHeight / 2));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("sorvane.ini"))));
    window.close();
    const QString text = settingsText();
    QVERIFY(text.contains(QStringLiteral("[Paths]")));
    QVERIFY(text.contains(QStringLiteral("DefaultDir=") + path(QStringLiteral("home"))));
    QVERIFY(text.contains(QStringLiteral("[MainForm]")));
    QVERIFY(text.contains(QStringLiteral("WindowState=0")));
    QVERIFY(text.contains(QStringLiteral("Width=%1").arg(window.frameGeometry().width())));
    QVERIFY(text.contains(QStringLiteral("Height=%1").arg(window.frameGeometry().height())));
}

void MainFormSettingsTest::maximisedCloseKeepsPlacement() {
    writeSettings(QStringLiteral("; kept\n[MainForm]\nWindowState=2\nTop=7\nLeft=9\nWidth=640\n"
                                 "Height=480\n[Other]\nKey=Value\n"));
    TFormMain& window = open();
    QVERIFY(window.isMaximized());
    window.close();
    const QString text = settingsText();
    for (const char* kept :
         {"WindowState=2\nTop=7\nLeft=9\nWidth=640\nHeight=480", "; kept", "[Other]\nKey=Value"})
        QVERIFY2(text.contains(QLatin1String(kept)), kept);
}

void MainFormSettingsTest::normalPlacementIsRestored() {
    writeSettings(QStringLiteral("[MainForm]\nWindowState=0\nTop=$20\nLeft=0x1e\nWidth=800\n"
                                 "Height=650\n"));
    TFormMain& window = open();
    QVERIFY(!window.isMaximized());
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(30, 32));
    // The whole width of the test screen, or the window's least width where that is wider.
    const int frameExtra = window.frameGeometry().width() - window.width();
    QCOMPARE(window.frameGeometry().size(),
             QSize(std::max(800, window.minimumSizeHint().width() + frameExtra), 650));
}

// Placements with values at the ends of the integer range (which overflowed while the window
// applied them) or off every screen: the window opens at its designed size, centred, and that
// is what is stored.
void MainFormSettingsTest::insanePlacementIsNeitherAppliedNorWrittenBack() {
    const char* stored[] = {
        "Top=10\nLeft=10\nWidth=-2147483648\nHeight=589",
        "Top=10\nLeft=2147483647\nWidth=823\nHeight=589",
        "Top=10\nLeft=10\nWidth=2147483647\nHeight=2147483647",
        "Top=5000\nLeft=5000\nWidth=700\nHeight=500",
    };
    const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centred =
        desk.center() - QPoint(TFormMain::DesignWidth / 2, TFormMain::DesignHeight / 2);
    for (const char* placement : stored) {
        writeSettings(QStringLiteral("[MainForm]\nWindowState=0\n") + QLatin1String(placement) +
                      u'\n');
        TFormMain& window = open();
        QVERIFY2(window.size() == QSize(TFormMain::DesignWidth, TFormMain::DesignHeight),
                 placement);
        QVERIFY2(window.pos() == centred, placement);
        const QRect frame = window.frameGeometry();
        window.close();
        const QString text = settingsText();
        for (const QString& key :
             {QStringLiteral("Left=%1").arg(centred.x()), QStringLiteral("Top=%1").arg(centred.y()),
              QStringLiteral("Width=%1").arg(frame.width()),
              QStringLiteral("Height=%1").arg(frame.height())})
            QVERIFY2(text.contains(key), qPrintable(QLatin1String(placement) + u" / " + key));
        m_window.reset();
    }
}

void MainFormSettingsTest::virtualDriveLetterChoice() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    QVERIFY(QFile::link(QStringLiteral("/"), path(QStringLiteral("wine/dosdevices/z:"))));
    FakeDrive taken;
    taken.letter = u'Y';
    taken.root = path(QStringLiteral("plain"));
    m_drives->setDrive(taken);
    QCOMPARE(open(false).virtualDriveLetter(), QChar(u'X'));
    m_window.reset();
    for (char16_t c = u'D'; c <= u'X'; ++c) {
        taken.letter = QChar(c);
        m_drives->setDrive(taken);
    }
    QCOMPARE(open(false).virtualDriveLetter(), QChar());
}

void MainFormSettingsTest::unwritableSettingsShowError() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    // The settings file's folder disappears: the write fails and is reported.
    const QString folder = path(QStringLiteral("gone-settings"));
    QVERIFY(QDir().mkpath(folder));
    QFile::rename(path(QStringLiteral("sorvane.ini")), folder + QStringLiteral("/x"));
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sorvane.ini"))); // a folder in its place
    window.close();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Error);
    QCOMPARE(m_messages.messages()[0].text,
             QStringLiteral("Unable to write to ") + path(QStringLiteral("sorvane.ini")));
}

void MainFormSettingsTest::preferencesConfirmedSavesAndEnablesWave() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("plain")) +
                  QStringLiteral("\n[MainForm]\nWindowState=2\n"));
    TFormMain& window = open();
    makeDialogs();
    QVERIFY(!window.ToolButtonWave()->isEnabled());
    QTimer::singleShot(0, m_preferences.get(), [this] {
        QCOMPARE(m_preferences->editStartFolder()->text(), path(QStringLiteral("plain")));
        m_preferences->editStartFolder()->setText(path(QStringLiteral("backup")));
        m_preferences->editWaveConverter()->setText(QStringLiteral("/opt/brwc/conv.exe"));
        m_preferences->buttonOK()->click();
    });
    window.findChild<QAction*>(QStringLiteral("Preferences1"))->trigger();
    QCOMPARE(window.prefs().DefaultDir, path(QStringLiteral("backup")));
    QCOMPARE(window.prefs().WaveConverter, QStringLiteral("/opt/brwc/conv.exe"));
    // Enabled on confirming, although the folder shown has no songs.
    QVERIFY(window.ToolButtonWave()->isEnabled());
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("plain"))));
    const QString text = settingsText();
    QVERIFY(text.contains(QStringLiteral("DefaultDir=") + path(QStringLiteral("backup"))));
    QVERIFY(text.contains(QStringLiteral("WaveConverter=/opt/brwc/conv.exe")));
    // Written while maximised, too.
    QVERIFY(text.contains(QStringLiteral("Top=%1").arg(window.frameGeometry().top())));
    QVERIFY(text.contains(QStringLiteral("Left=%1").arg(window.frameGeometry().left())));
    // The next folder change applies the song rule again.
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("home"))));
    QVERIFY(!window.ToolButtonWave()->isEnabled());
}

void MainFormSettingsTest::preferencesCancelledChangesNothing() {
    writeSettings(defaultDirSettings(QStringLiteral("plain")));
    TFormMain& window = open();
    makeDialogs();
    const QString before = settingsText();
    QTimer::singleShot(0, m_preferences.get(), [this] {
        m_preferences->editWaveConverter()->setText(QStringLiteral("/opt/brwc/conv.exe"));
        m_preferences->buttonCancel()->click();
    });
    window.Preferences1Click();
    QCOMPARE(window.prefs().WaveConverter, QString());
    QCOMPARE(settingsText(), before);
}

void MainFormSettingsTest::exitPassesThroughClosingSteps() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    QVERIFY(window.isVisible());
    window.findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(settingsText().contains(QStringLiteral("[MainForm]\nWindowState=0")));
}

void MainFormSettingsTest::firstRunDemoFolder() {
    const QString settings = path(QStringLiteral("first/sorvane.ini"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("first"))));
    QVERIFY(!WriteFirstRunDefaultDir(settings, path(QStringLiteral("no-demo"))));
    QVERIFY(!QFileInfo::exists(settings));
    QVERIFY(WriteFirstRunDefaultDir(settings, path(QStringLiteral("backup"))));
    QFile file(settings);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    QVERIFY(text.contains(QStringLiteral("[Paths]")));
    QVERIFY(text.contains(QStringLiteral("DefaultDir=") + path(QStringLiteral("backup"))));
    // An existing file is left alone.
    QVERIFY(!WriteFirstRunDefaultDir(settings, path(QStringLiteral("plain"))));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), text);
}

QTEST_MAIN(MainFormSettingsTest)
#include "mainformsettings_test.moc"
