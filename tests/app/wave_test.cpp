#include "app/support/mainwindowfixture.h"
#include "app/wavelaunch.h"
#include "platform/fakeprocesslauncher.h"
#include "platform/qprocesslauncher.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The WAV button: BRWC.ini, the folder linked as the spare drive letter in the Wine prefix,
// the converter run and waited for, the link removed afterwards; and its refusals. The Wine
// prefix holds the usual z: entry leading to "/", so the spare letter is Y.
class WaveTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        setUpWindowFixture();
        m_savedPath = qgetenv("PATH");
        QVERIFY(QFile::link(QStringLiteral("/"), path(QStringLiteral("wine/dosdevices/z:"))));
        m_fakeLauncher = FakeProcessLauncher();
        m_virtualDriveTimeout = ShortWaitMs;
    }
    void cleanup() {
        qputenv("PATH", m_savedPath);
        tearDownWindowFixture();
    }

    void windowsConverterRunsThroughWineOnTheVirtualDrive();
    void refusalsTouchNothing();
    void folderWithoutSongsTimesOutAndTheRunningConverterHoldsTheWindow();
    void failuresAreReportedAndTheMappingRemoved();

private:
    static constexpr int ShortWaitMs = 150;

    // An executable shell script at <tmp>/<relative>; returns its path.
    QString writeScript(const QString& relative, const QByteArray& body) {
        files().writeFile(relative, "#!/bin/sh\n" + body);
        QFile::setPermissions(path(relative), QFile::permissions(path(relative)) | QFile::ExeOwner);
        return path(relative);
    }
    // The window over the start folder <tmp>/<folder> with the converter and `launcher`.
    TFormMain& openWith(const QString& folder, const QString& converter,
                        ProcessLauncher& launcher) {
        writeSettings(defaultDirSettings(folder, QStringLiteral("WaveConverter=") + converter +
                                                     QStringLiteral("\n")));
        m_launcher = &launcher;
        return open();
    }
    QString yLink() const { return path(QStringLiteral("wine/dosdevices/y:")); }
    QByteArray run(const char* name) const {
        return files().readFile(QStringLiteral("run/") + QLatin1String(name));
    }
    QByteArray line(const QString& relative) const { return path(relative).toLocal8Bit() + '\n'; }

    QProcessLauncher m_realLauncher;
    FakeProcessLauncher m_fakeLauncher;
    QByteArray m_savedPath;
};

// A ".EXE" converter is started by the `wine` found on PATH, in its own folder. Wine knows
// nothing of drive E: the card's root is handed over as Y as well. BRWC.ini is rewritten in
// place: the three entries set (whatever the letter case of their keys), the rest of it
// (other entries, comments, CRLF line ends) kept. The converter's exit code is not examined.
void WaveTest::windowsConverterRunsThroughWineOnTheVirtualDrive() {
    putCardIn();
    QVERIFY(QDir().mkpath(path(QStringLiteral("run"))));
    const QByteArray out = path(QStringLiteral("run")).toLocal8Bit();
    writeScript(QStringLiteral("bin/wine"),
                "echo \"$#:$*:$WINEPREFIX\" > '" + out + "/wine'; exec \"$1\"\n");
    qputenv("PATH", path(QStringLiteral("bin")).toLocal8Bit() + ':' + m_savedPath);
    const QString converter = writeScript(
        QStringLiteral("conv/BR Wave Converter.EXE"),
        "out='" + out + "'\necho \"$0 $#\" > $out/args; pwd > $out/pwd; cp BRWC.ini $out/ini\n" +
            "readlink \"$WINEPREFIX/dosdevices/y:\" > $out/link\n" +
            "ls \"$WINEPREFIX/dosdevices/y:/Roland/BR0\" > $out/songs; sleep 0.5; exit 3\n");
    const QByteArray head = "[Preference]\r\nBRWCDriveLetter=";
    const QByteArray middle = "\r\nRate=44100\r\n; last\r\n[Preferece]\r\nFile=";
    QVERIFY(
        files().writeFile(QStringLiteral("conv/BRWC.ini"),
                          head + "E" + middle + "OLD\r\ndirectory=E:\\\r\n[Other]\r\nKey=1\r\n"));
    TFormMain& window = openWith(QStringLiteral("backup"), converter, m_realLauncher);
    // While the converter runs the waiting window is modal (the event loop keeps running).
    QString modal;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (auto* waiting = qobject_cast<TFormWaitConverter*>(QApplication::activeModalWidget()))
            modal = waiting->text();
    });
    probe.start(100);
    QTest::mouseClick(window.ToolButtonWave(), Qt::LeftButton);
    QCOMPARE(modal, QStringLiteral("Waiting for BR Wave Converter to close..."));
    QCOMPARE(run("wine"), "1:" + converter.toLocal8Bit() + ':' +
                              path(QStringLiteral("wine")).toLocal8Bit() + '\n');
    QCOMPARE(run("args"), converter.toLocal8Bit() + " 0\n");
    QCOMPARE(run("pwd"), line(QStringLiteral("conv")));
    QCOMPARE(run("link"), line(QStringLiteral("card")));
    QCOMPARE(run("songs"), QByteArray("SONG001.BR0\nSONG002.BR0\n"));
    // "File" is the Name cell as shown: the recorder's 8-character name field.
    const QString card = QDir(path(QStringLiteral("card"))).canonicalPath().replace(u'/', u'\\');
    QCOMPARE(run("ini"), head + "Y" + middle + "Song 1  \r\ndirectory=Z:" + card.toUtf8() +
                             "\r\n[Other]\r\nKey=1\r\n");
    QVERIFY(!QFileInfo(yLink()).isSymLink() && !m_drives->drives().contains(u'Y'));
    QVERIFY(QFileInfo(path(QStringLiteral("card/Roland/BR0"))).isDir());
    QVERIFY(m_messages.messages().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

// A missing converter (or a folder) is passed over silently; without Wine or a free letter
// the reason is given. Nothing is written, linked or started.
void WaveTest::refusalsTouchNothing() {
    const struct {
        const char* converter;
        bool noWine;
        bool noFreeLetter;
    } cases[] = {{"conv", false, false}, // also stands for a missing converter
                 {"conv/BRWC.exe", true, false},
                 {"conv/c.sh", false, true}};
    for (const auto& c : cases) {
        cleanup();
        init();
        const QString converter = path(QLatin1String(c.converter));
        writeScript(QStringLiteral("conv/BRWC.exe"), "");
        writeScript(QStringLiteral("conv/c.sh"), "");
        if (c.noWine)
            qputenv("PATH", path(QStringLiteral("plain")).toLocal8Bit());
        for (char16_t letter = u'D'; c.noFreeLetter && letter <= u'Y'; ++letter)
            m_drives->setDrive({.letter = QChar(letter),
                                .root = path(QStringLiteral("plain")),
                                .label = std::nullopt});
        openWith(QStringLiteral("backup"), converter, m_fakeLauncher).ToolButtonWaveClick();
        if (c.noWine)
            QVERIFY(m_messages.only(MessageKind::Error, WineNeededText(converter)));
        else if (c.noFreeLetter)
            QVERIFY(m_messages.only(MessageKind::Warning, NoFreeDriveLetterText()));
        else
            QVERIFY(m_messages.messages().isEmpty());
        QVERIFY(m_fakeLauncher.commands().isEmpty());
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("conv/BRWC.ini"))));
        QCOMPARE(QDir(path(QStringLiteral("wine/dosdevices")))
                     .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("z:")});
    }
    QVERIFY(WineNeededText(QString()).contains(QStringLiteral("Debian package wine")));
}

// Without songs the wait for y:\Roland\BR0 runs its full time and the launch goes on, with
// an empty "File"; the converter itself is run in its own folder. While it runs, another
// click and closing the window do nothing.
void WaveTest::folderWithoutSongsTimesOutAndTheRunningConverterHoldsTheWindow() {
    const QString converter = writeScript(QStringLiteral("conv/c.sh"), "");
    TFormMain& window = openWith(QStringLiteral("plain"), converter, m_fakeLauncher);
    QString linked;
    m_fakeLauncher.setRun([&](const ProcessCommand&) {
        window.ToolButtonWaveClick();
        window.close();
        linked = QFileInfo(yLink()).symLinkTarget();
        return ProcessOutcome{true, QString(), 0};
    });
    QElapsedTimer clock;
    clock.start();
    window.ToolButtonWaveClick();
    QVERIFY(clock.elapsed() >= ShortWaitMs);
    QVERIFY(m_messages.only(MessageKind::Plain,
                            QStringLiteral("Timed out waiting for virtual drive Y:")));
    const ProcessCommand direct{converter, {}, path(QStringLiteral("conv")), {}};
    QVERIFY(m_fakeLauncher.commands() == QList<ProcessCommand>{direct});
    QCOMPARE(linked, path(QStringLiteral("plain")));
    QVERIFY(files().readFile(QStringLiteral("conv/BRWC.ini")).contains("\nFile=\n"));
    QVERIFY(!QFileInfo(yLink()).isSymLink() && window.isVisible());
    QVERIFY(!settingsText().contains(QStringLiteral("[MainForm]"))); // no closing steps ran
}

// A converter that cannot be started (not executable, not a program) is reported and its
// mapping removed. An unwritable BRWC.ini stops the launch; the mapping then stays until
// the window closes.
void WaveTest::failuresAreReportedAndTheMappingRemoved() {
    QFile file(path(QStringLiteral("conv/convert")));
    TFormMain& window = openWith(QStringLiteral("backup"), file.fileName(), m_realLauncher);
    const std::pair<QByteArray, QFile::Permissions> cases[] = {
        {"#!/bin/sh\n", QFile::ReadOwner},
        {QByteArray("\x7f"
                    "ELF\x01\x02 not a program"),
         QFile::ReadOwner | QFile::ExeOwner}};
    for (const auto& [bytes, permissions] : cases) {
        m_messages.clear();
        file.remove();
        QVERIFY(files().writeFile(QStringLiteral("conv/convert"), bytes) &&
                file.setPermissions(permissions));
        window.ToolButtonWaveClick();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages()[0].kind, MessageKind::Error);
        QVERIFY(m_messages.messages()[0].text.startsWith(QStringLiteral("Unable to start ") +
                                                         file.fileName() + u'\r'));
        QVERIFY(!QFileInfo(yLink()).isSymLink() && !m_drives->drives().contains(u'Y'));
    }
    m_messages.clear();
    QVERIFY(QFile::remove(path(QStringLiteral("conv/BRWC.ini"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("conv/BRWC.ini")))); // a folder in its place
    window.ToolButtonWaveClick();
    QVERIFY(m_messages.only(MessageKind::Error, QStringLiteral("Unable to write to ") +
                                                    path(QStringLiteral("conv/BRWC.ini"))));
    QCOMPARE(QFileInfo(yLink()).symLinkTarget(), path(QStringLiteral("backup")));
    window.close();
    QVERIFY(!QFileInfo(yLink()).isSymLink() && !m_drives->drives().contains(u'Y'));
    QVERIFY(QFileInfo(path(QStringLiteral("backup/Roland/BR0"))).isDir());
}

QTEST_MAIN(WaveTest)
#include "wave_test.moc"
