#include "app/stringgrid.h"
#include "app/support/wavefixture.h"
#include "app/wavelaunch.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

// The WAV button: BRWC.ini, the folder linked as the spare drive letter in the Wine prefix,
// the converter run and waited for, the link removed afterwards; and its refusals.
class WaveTest : public WaveFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { setUpWaveFixture(); }
    void cleanup() { tearDownWaveFixture(); }

    void backupFolderRunsConverterOnVirtualDrive();
    void folderWithoutSongsTimesOut();
    void windowsConverterOnDriveRootRunsThroughWine();
    void refusals_data();
    void refusals();
    void converterThatCannotStart_data();
    void converterThatCannotStart();
    void unwritableBrwcIniStopsAndCloseRemovesMapping();
    void clickOrCloseWhileConverterRunsIsIgnored();

private:
    // A converter that writes into <tmp>/run its name and argument count, its folder, where
    // y: leads, what y:\Roland\BR0 holds and the BRWC.ini it finds, then exits with 3
    // half a second later.
    QString recordingConverter();
    QByteArray run(const char* name) const {
        return contents(QStringLiteral("run/") + QLatin1String(name));
    }
    QByteArray line(const QString& relative) const { return path(relative).toLocal8Bit() + '\n'; }
    void checkMessage(MessageKind kind, const QString& text);
};

QString WaveTest::recordingConverter() {
    QDir().mkpath(path(QStringLiteral("run")));
    return writeScript(QStringLiteral("conv/convert.sh"),
                       "cd \"$(dirname \"$0\")\"; out='" +
                           path(QStringLiteral("run")).toLocal8Bit() +
                           "'\necho \"$0 $#\" > $out/args; pwd > $out/pwd; cp BRWC.ini $out/ini\n"
                           "readlink \"$WINEPREFIX/dosdevices/y:\" > $out/link\n"
                           "ls \"$WINEPREFIX/dosdevices/y:/Roland/BR0\" > $out/songs\n"
                           "sleep 0.5; exit 3\n");
}

void WaveTest::checkMessage(MessageKind kind, const QString& text) {
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, kind);
    QCOMPARE(m_messages.messages()[0].text, text);
}

// BRWC.ini is rewritten in place: the three entries set, the rest of it (other entries,
// comments, CRLF line ends) kept.
void WaveTest::backupFolderRunsConverterOnVirtualDrive() {
    const QByteArray head = "[Preference]\r\nBRWCDriveLetter=";
    const QByteArray middle = "\r\nRate=44100\r\n; last\r\n[Preferece]\r\nFile=";
    QFile ini(path(QStringLiteral("conv/BRWC.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(head + "E" + middle + "OLD\r\ndirectory=E:\\\r\n[Other]\r\nKey=1\r\n");
    ini.close();
    const QString converter = recordingConverter();
    TFormMain& window = openWith(QStringLiteral("backup"), converter, m_realLauncher);
    QCOMPARE(window.virtualDriveLetter(), QChar(u'Y'));
    // While the converter runs the waiting window is modal and the main window is painted.
    QString modal;
    PaintCounter paints;
    window.installEventFilter(&paints);
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (auto* waiting = qobject_cast<TFormWaitConverter*>(QApplication::activeModalWidget()))
            modal = waiting->text();
        window.update();
    });
    probe.start(100);
    QTest::mouseClick(window.ToolButtonWave(), Qt::LeftButton);
    window.removeEventFilter(&paints);
    QCOMPARE(modal, QStringLiteral("Waiting for BR Wave Converter to close..."));
    QVERIFY(paints.count > 0);

    QCOMPARE(run("args"), converter.toLocal8Bit() + " 0\n"); // its own name only
    QCOMPARE(run("pwd"), line(QStringLiteral("conv")));
    QCOMPARE(run("link"), line(QStringLiteral("backup")));
    QCOMPARE(run("songs"), QByteArray("SONG001.BR0\nSONG002.BR0\nSONG003.BR0\n"));
    // "File" is the Name cell as shown: the recorder's 8-character name field.
    QCOMPARE(run("ini"), head + "Y" + middle + "Song 1  \r\ndirectory=" +
                             windowsPath(QStringLiteral("backup")).toUtf8() +
                             "\r\n[Other]\r\nKey=1\r\n");
    QVERIFY(!QFileInfo(yLink()).isSymLink());
    QVERIFY(!m_drives->drives().contains(u'Y'));
    QVERIFY(QFileInfo(path(QStringLiteral("backup/Roland/BR0"))).isDir());
    QVERIFY(m_messages.messages().isEmpty()); // no timeout; the exit code is not examined
    QVERIFY(!QApplication::overrideCursor());
}

void WaveTest::folderWithoutSongsTimesOut() {
    const QString converter = writeScript(QStringLiteral("conv/c.sh"), "exit 0\n");
    QString linked;
    m_fakeLauncher.setRun([&](const ProcessCommand&) {
        linked = QFileInfo(yLink()).symLinkTarget();
        return ProcessOutcome{true, QString(), 0};
    });
    TFormMain& window = openWith(QStringLiteral("plain"), converter, m_fakeLauncher);
    QElapsedTimer clock;
    clock.start();
    window.ToolButtonWaveClick();
    QVERIFY(clock.elapsed() >= ShortWaitMs); // the full wait for y:\Roland\BR0 ran
    checkMessage(MessageKind::Plain, QStringLiteral("Timed out waiting for virtual drive Y:"));
    // The launch goes on; with no songs "File" is empty; the link is removed afterwards.
    QCOMPARE(m_fakeLauncher.commands().size(), 1);
    QCOMPARE(linked, path(QStringLiteral("plain")));
    QVERIFY(contents(QStringLiteral("conv/BRWC.ini")).contains("\nFile=\n"));
    QVERIFY(!QFileInfo(yLink()).isSymLink());
}

// A ".exe" converter is started by the `wine` found on PATH. Wine knows nothing of drive E:
// the card's root is handed over as Y as well.
void WaveTest::windowsConverterOnDriveRootRunsThroughWine() {
    putCardIn();
    QVERIFY(QDir().mkpath(path(QStringLiteral("bin"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("run"))));
    const QByteArray out = path(QStringLiteral("run/wine")).toLocal8Bit();
    writeScript(QStringLiteral("bin/wine"), "echo \"$#:$*:$WINEPREFIX\" > '" + out +
                                                "'\nreadlink \"$WINEPREFIX/dosdevices/y:\" >> '" +
                                                out + "'\n");
    qputenv("PATH", path(QStringLiteral("bin")).toLocal8Bit() + ':' + m_savedPath);
    const QString converter = writeScript(QStringLiteral("conv/BR Wave Converter.EXE"), "");
    TFormMain& window = openWith(QStringLiteral("backup"), converter, m_realLauncher);
    QCOMPARE(m_drives->driveOfPath(window.currentFolder()), QChar(u'E'));
    window.ToolButtonWaveClick();
    QCOMPARE(run("wine"), "1:" + converter.toLocal8Bit() + ':' +
                              path(QStringLiteral("wine")).toLocal8Bit() + '\n' +
                              line(QStringLiteral("card")));
    QVERIFY(contents(QStringLiteral("conv/BRWC.ini"))
                .contains(QByteArray("Directory=" + windowsPath(QStringLiteral("card")).toUtf8() +
                                     '\n')));
    QVERIFY(m_messages.messages().isEmpty());
    QVERIFY(!QFileInfo(yLink()).isSymLink());
}

void WaveTest::refusals_data() {
    QTest::addColumn<QString>("converter");
    QTest::addColumn<bool>("noWine");
    QTest::addColumn<bool>("noFreeLetter");
    QTest::addColumn<QString>("expected"); // the message; empty for none
    QTest::newRow("no converter") << QStringLiteral("conv/gone.exe") << false << false << QString();
    QTest::newRow("converter is a folder") << QStringLiteral("conv") << false << false << QString();
    QTest::newRow("Windows converter without Wine")
        << QStringLiteral("conv/BRWC.exe") << true << false << QStringLiteral("wine");
    QTest::newRow("no free letter")
        << QStringLiteral("conv/c.sh") << false << true << QStringLiteral("letter");
}

void WaveTest::refusals() {
    QFETCH(QString, converter);
    QFETCH(bool, noWine);
    QFETCH(bool, noFreeLetter);
    QFETCH(QString, expected);
    writeScript(QStringLiteral("conv/BRWC.exe"), "");
    writeScript(QStringLiteral("conv/c.sh"), "");
    if (noWine)
        qputenv("PATH", path(QStringLiteral("plain")).toLocal8Bit());
    FakeDrive taken;
    taken.root = path(QStringLiteral("plain"));
    for (char16_t c = u'D'; noFreeLetter && c <= u'Y'; ++c) {
        taken.letter = QChar(c);
        m_drives->setDrive(taken);
    }
    TFormMain& window = openWith(QStringLiteral("backup"), path(converter), m_fakeLauncher);
    window.ToolButtonWaveClick();
    if (expected == QStringLiteral("wine")) {
        checkMessage(MessageKind::Error, WineNeededText(path(converter)));
        QVERIFY(WineNeededText(path(converter)).contains(QStringLiteral("Debian package wine")));
    } else if (expected == QStringLiteral("letter")) {
        checkMessage(MessageKind::Warning, NoFreeDriveLetterText());
    } else {
        QVERIFY(m_messages.messages().isEmpty());
    }
    // Nothing was written, linked or started.
    QVERIFY(m_fakeLauncher.commands().isEmpty());
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("conv/BRWC.ini"))));
    QCOMPARE(QDir(path(QStringLiteral("wine/dosdevices")))
                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("z:")});
}

void WaveTest::converterThatCannotStart_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("permissions");
    QTest::newRow("not executable") << QByteArray("#!/bin/sh\n") << int(QFile::ReadOwner);
    QTest::newRow("bad format") << QByteArray("\x7f"
                                              "ELF\x01\x02 not a program")
                                << int(QFile::ReadOwner | QFile::ExeOwner);
}

void WaveTest::converterThatCannotStart() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, permissions);
    QFile file(path(QStringLiteral("conv/convert")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QVERIFY(file.setPermissions(QFile::Permissions(permissions)));
    openWith(QStringLiteral("backup"), file.fileName(), m_realLauncher).ToolButtonWaveClick();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Error);
    QVERIFY(m_messages.messages()[0].text.startsWith(QStringLiteral("Unable to start ") +
                                                     file.fileName() + u'\r'));
    QVERIFY(!QFileInfo(yLink()).isSymLink()); // the mapping is removed
    QVERIFY(!m_drives->drives().contains(u'Y'));
}

void WaveTest::unwritableBrwcIniStopsAndCloseRemovesMapping() {
    QVERIFY(QDir().mkpath(path(QStringLiteral("conv/BRWC.ini")))); // a folder in its place
    TFormMain& window = openWith(QStringLiteral("backup"),
                                 writeScript(QStringLiteral("conv/c.sh"), ""), m_fakeLauncher);
    window.ToolButtonWaveClick();
    checkMessage(MessageKind::Error,
                 QStringLiteral("Unable to write to ") + path(QStringLiteral("conv/BRWC.ini")));
    QVERIFY(m_fakeLauncher.commands().isEmpty());
    // The mapping stays until the program closes.
    QCOMPARE(QFileInfo(yLink()).symLinkTarget(), path(QStringLiteral("backup")));
    window.close();
    QVERIFY(!QFileInfo(yLink()).isSymLink());
    QVERIFY(!m_drives->drives().contains(u'Y'));
    QVERIFY(QFileInfo(path(QStringLiteral("backup/Roland/BR0"))).isDir());
}

void WaveTest::clickOrCloseWhileConverterRunsIsIgnored() {
    TFormMain& window = openWith(QStringLiteral("backup"),
                                 writeScript(QStringLiteral("conv/c.sh"), ""), m_fakeLauncher);
    bool linkedAfterClose = false;
    m_fakeLauncher.setRun([&](const ProcessCommand&) {
        window.ToolButtonWaveClick();
        window.close();
        linkedAfterClose = QFileInfo(yLink()).isSymLink();
        return ProcessOutcome{true, QString(), 0};
    });
    window.ToolButtonWaveClick();
    QCOMPARE(m_fakeLauncher.commands().size(), 1);
    QVERIFY(linkedAfterClose);
    QVERIFY(window.isVisible());
    QVERIFY(!settingsText().contains(QStringLiteral("[MainForm]"))); // no closing steps ran
    QVERIFY(m_messages.messages().isEmpty());
}

QTEST_MAIN(WaveTest)
#include "wave_test.moc"
