#include "app/foldertree.h"
#include "app/stringgrid.h"
#include "app/support/wavefixture.h"
#include "app/wavelaunch.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPaintEvent>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

// The WAV button: BRWC.ini, the virtual drive seen through the Wine prefix, the converter
// run and waited for, and the mapping removed afterwards.
class WaveLaunchTest : public WaveFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { setUpWaveFixture(); }
    void cleanup() { tearDownWaveFixture(); }

    void backupFolderRunsConverterOnVirtualDrive();
    void driveRootIsMappedToo();
    void folderWithoutRecorderTreeTimesOut();
    void emptySongListWritesEmptyFile();
    void foreignEntriesAreKept();
    void windowsConverterRunsThroughWine();
    void missingConverterDoesNothing();
    void clickOrCloseWhileConverterRunsIsIgnored();
};

void WaveLaunchTest::backupFolderRunsConverterOnVirtualDrive() {
    const QString converter = writeRecordingConverter("0.6");
    writeWaveSettings(QStringLiteral("backup"), converter);
    m_launcher = &m_realLauncher;
    TFormMain& window = open();
    QCOMPARE(window.virtualDriveLetter(), QChar(u'Y'));
    QVERIFY(window.ToolButtonWave()->isEnabled());

    // While the converter runs: the waiting window is modal, and the main window is painted.
    QStringList modalTexts;
    PaintCounter paints;
    window.installEventFilter(&paints);
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (auto* waiting = qobject_cast<TFormWaitConverter*>(QApplication::activeModalWidget()))
            modalTexts.append(waiting->text());
        window.update();
    });
    probe.start(100);
    QTest::mouseClick(window.ToolButtonWave(), Qt::LeftButton);
    probe.stop();
    window.removeEventFilter(&paints);

    QCOMPARE(recorded(QStringLiteral("arg0")), converter.toLocal8Bit() + '\n');
    QCOMPARE(recorded(QStringLiteral("args")), QByteArray("0:\n"));
    QCOMPARE(recorded(QStringLiteral("pwd")), path(QStringLiteral("conv")).toLocal8Bit() + '\n');
    QCOMPARE(recorded(QStringLiteral("link")), path(QStringLiteral("backup")).toLocal8Bit() + '\n');
    QCOMPARE(recorded(QStringLiteral("songs")),
             QByteArray("SONG001.BR0\nSONG002.BR0\nSONG003.BR0\n"));
    // "File" is the song list's Name cell as shown: the recorder's 8-character name field.
    const QByteArray expected = "[Preference]\nBRWCDriveLetter=Y\n\n[Preferece]\nFile=Song 1  \n"
                                "Directory=" +
                                windowsPath(QStringLiteral("backup")).toUtf8() + "\n";
    QCOMPARE(recorded(QStringLiteral("ini")), expected);
    QVERIFY(!modalTexts.isEmpty());
    QCOMPARE(modalTexts.first(), QStringLiteral("Waiting for BR Wave Converter to close..."));
    QVERIFY(paints.count > 0);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // Afterwards the mapping is gone, from the prefix and from the drive table.
    QVERIFY(!QFileInfo(yLink()).isSymLink());
    QVERIFY(!m_drives->drives().contains(u'Y'));
    QVERIFY(QFileInfo(path(QStringLiteral("backup/Roland/BR0"))).isDir());
    QVERIFY(m_messages.messages().isEmpty()); // the exit code is not examined
}

void WaveLaunchTest::driveRootIsMappedToo() {
    putCardIn();
    const QString converter = writeRecordingConverter();
    writeWaveSettings(QStringLiteral("backup"), converter);
    m_launcher = &m_realLauncher;
    TFormMain& window = open();
    QCOMPARE(window.currentFolder(), path(QStringLiteral("card")));
    QCOMPARE(m_drives->driveOfPath(window.currentFolder()), QChar(u'E'));
    window.ToolButtonWaveClick();
    // Wine knows nothing of drive E: the card's root is handed over as Y too.
    QCOMPARE(recorded(QStringLiteral("link")), path(QStringLiteral("card")).toLocal8Bit() + '\n');
    QCOMPARE(recorded(QStringLiteral("songs")), QByteArray("SONG001.BR0\nSONG002.BR0\n"));
    QVERIFY(recorded(QStringLiteral("ini")).contains("BRWCDriveLetter=Y\n"));
    QVERIFY(recorded(QStringLiteral("ini"))
                .contains(QByteArray("Directory=" + windowsPath(QStringLiteral("card")).toUtf8() +
                                     "\n")));
    QVERIFY(!QFileInfo(yLink()).isSymLink());
    QCOMPARE(m_drives->driveOfPath(window.currentFolder()), QChar(u'E'));
    QVERIFY(m_messages.messages().isEmpty());
}

void WaveLaunchTest::folderWithoutRecorderTreeTimesOut() {
    writeScript(QStringLiteral("conv/c.sh"), "exit 0\n");
    writeWaveSettings(QStringLiteral("plain"), path(QStringLiteral("conv/c.sh")));
    m_launcher = &m_fakeLauncher;
    bool linkedWhileRunning = false;
    m_fakeLauncher.setRun([&](const ProcessCommand&) {
        linkedWhileRunning = QFileInfo(yLink()).symLinkTarget() == path(QStringLiteral("plain"));
        return ProcessOutcome{true, QString(), 0};
    });
    TFormMain& window = open();
    QElapsedTimer clock;
    clock.start();
    window.ToolButtonWaveClick();
    QVERIFY(clock.elapsed() >= ShortWaitMs); // the full wait ran
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Plain);
    QCOMPARE(m_messages.messages()[0].text,
             QStringLiteral("Timed out waiting for virtual drive Y:"));
    // The launch goes on after the timeout, and the mapping is removed afterwards.
    QCOMPARE(m_fakeLauncher.commands().size(), 1);
    QVERIFY(linkedWhileRunning);
    QVERIFY(!QFileInfo(yLink()).isSymLink());
}

void WaveLaunchTest::emptySongListWritesEmptyFile() {
    QVERIFY(QDir().mkpath(path(QStringLiteral("empty/roland/br0"))));
    writeScript(QStringLiteral("conv/c.sh"), "exit 0\n");
    writeWaveSettings(QStringLiteral("empty"), path(QStringLiteral("conv/c.sh")));
    m_launcher = &m_fakeLauncher;
    m_virtualDriveTimeout = 60'000; // the tree is found at once: no timeout
    TFormMain& window = open();
    QCOMPARE(window.sgSongList()->cell(1, 1), QString());
    window.ToolButtonWaveClick();
    QVERIFY(m_messages.messages().isEmpty());
    QCOMPARE(m_fakeLauncher.commands().size(), 1);
    QVERIFY(brwcIni().contains("\nFile=\n"));
}

void WaveLaunchTest::foreignEntriesAreKept() {
    QFile ini(path(QStringLiteral("conv/BRWC.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Preference]\r\nBRWCDriveLetter=E\r\nSampleRate=44100\r\n; last folder\r\n"
              "[Preferece]\r\nFile=OLD\r\nDirectory=E:\\\r\n[Other]\r\nKey=1\r\n");
    ini.close();
    writeScript(QStringLiteral("conv/c.sh"), "exit 0\n");
    writeWaveSettings(QStringLiteral("backup"), path(QStringLiteral("conv/c.sh")));
    m_launcher = &m_fakeLauncher;
    open().ToolButtonWaveClick();
    const QByteArray expected =
        "[Preference]\r\nBRWCDriveLetter=Y\r\nSampleRate=44100\r\n; last folder\r\n"
        "[Preferece]\r\nFile=Song 1  \r\nDirectory=" +
        windowsPath(QStringLiteral("backup")).toUtf8() + "\r\n[Other]\r\nKey=1\r\n";
    QCOMPARE(brwcIni(), expected);
}

void WaveLaunchTest::windowsConverterRunsThroughWine() {
    QVERIFY(QDir().mkpath(path(QStringLiteral("bin"))));
    const QByteArray run = path(QStringLiteral("run")).toLocal8Bit();
    QVERIFY(
        writeScript(QStringLiteral("bin/wine"), "echo \"$#:$*\" > '" + run +
                                                    "/args'\n"
                                                    "echo \"$WINEPREFIX\" > '" +
                                                    run +
                                                    "/prefix'\n"
                                                    "readlink \"$WINEPREFIX/dosdevices/y:\" > '" +
                                                    run + "/link'\n"));
    qputenv("PATH", path(QStringLiteral("bin")).toLocal8Bit() + ':' + m_savedPath);
    const QString converter = path(QStringLiteral("conv/BR Wave Converter.EXE"));
    QVERIFY(writeScript(QStringLiteral("conv/BR Wave Converter.EXE"), "exit 9\n"));
    writeWaveSettings(QStringLiteral("backup"), converter);
    m_launcher = &m_realLauncher;
    open().ToolButtonWaveClick();
    QCOMPARE(recorded(QStringLiteral("args")), "1:" + converter.toLocal8Bit() + '\n');
    QCOMPARE(recorded(QStringLiteral("prefix")), path(QStringLiteral("wine")).toLocal8Bit() + '\n');
    QCOMPARE(recorded(QStringLiteral("link")), path(QStringLiteral("backup")).toLocal8Bit() + '\n');
    QVERIFY(m_messages.messages().isEmpty());
    QVERIFY(!QFileInfo(yLink()).isSymLink());
}

void WaveLaunchTest::missingConverterDoesNothing() {
    for (const QString& converter :
         {path(QStringLiteral("conv/gone.exe")), path(QStringLiteral("conv"))}) {
        writeWaveSettings(QStringLiteral("backup"), converter);
        m_launcher = &m_fakeLauncher;
        open().ToolButtonWaveClick();
        QVERIFY(m_messages.messages().isEmpty());
        QVERIFY(m_fakeLauncher.commands().isEmpty());
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("conv/BRWC.ini"))));
        QVERIFY(!QFileInfo(yLink()).isSymLink());
        m_window.reset();
    }
}

void WaveLaunchTest::clickOrCloseWhileConverterRunsIsIgnored() {
    writeScript(QStringLiteral("conv/c.sh"), "exit 0\n");
    writeWaveSettings(QStringLiteral("backup"), path(QStringLiteral("conv/c.sh")));
    m_launcher = &m_fakeLauncher;
    TFormMain& window = open();
    QString modal;
    bool linkedAfterClose = false;
    m_fakeLauncher.setRun([&](const ProcessCommand&) {
        if (auto* waiting = qobject_cast<TFormWaitConverter*>(QApplication::activeModalWidget()))
            modal = waiting->text();
        window.ToolButtonWaveClick();
        window.close(); // neither a second launch nor closing while it runs
        linkedAfterClose = QFileInfo(yLink()).isSymLink();
        return ProcessOutcome{true, QString(), 0};
    });
    window.ToolButtonWaveClick();
    QCOMPARE(modal, QStringLiteral("Waiting for BR Wave Converter to close..."));
    QVERIFY(linkedAfterClose);
    QVERIFY(window.isVisible());
    QVERIFY(!settingsText().contains(QStringLiteral("[MainForm]"))); // no closing steps ran
    QCOMPARE(m_fakeLauncher.commands().size(), 1);
    QVERIFY(m_messages.messages().isEmpty());
}

QTEST_MAIN(WaveLaunchTest)
#include "wavelaunch_test.moc"
