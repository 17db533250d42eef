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

using namespace Qt::StringLiterals;

// The WAV button: BRWC.ini, the folder linked as the spare drive letter in the Wine prefix,
// the converter run and waited for, the link removed afterwards; and its refusals. The Wine
// prefix holds the usual z: entry leading to "/", so the spare letter is Y.
class WaveTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        setUpWindowFixture();
        m_savedPath = qgetenv("PATH");
        QVERIFY(QFile::link(u"/"_s, path(u"wine/dosdevices/z:"_s)));
        m_fakeLauncher = FakeProcessLauncher();
        m_virtualDriveTimeout = ShortWaitMs;
    }
    void cleanup() {
        qputenv("PATH", m_savedPath);
        tearDownWindowFixture();
    }

    // A ".EXE" converter is started by the `wine` found on PATH, in its own folder. Wine knows
    // nothing of drive E: the card's root is handed over as Y as well. BRWC.ini is rewritten in
    // place: the three entries set (whatever the letter case of their keys), the rest of it
    // (other entries, comments, CRLF line ends) kept. The converter's exit code is not examined.
    void windowsConverterRunsThroughWineOnTheVirtualDrive() {
        putCardIn();
        QVERIFY(QDir().mkpath(path(u"run"_s)));
        const QByteArray out = path(u"run"_s).toLocal8Bit();
        writeScript(u"bin/wine"_s,
                    "echo \"$#:$*:$WINEPREFIX\" > '" + out + "/wine'; exec \"$1\"\n");
        qputenv("PATH", path(u"bin"_s).toLocal8Bit() + ':' + m_savedPath);
        const QString converter = writeScript(
            u"conv/BR Wave Converter.EXE"_s,
            "out='" + out +
                "'\necho \"$0 $#\" > $out/args; pwd > $out/pwd; cp BRWC.ini $out/ini\n" +
                "readlink \"$WINEPREFIX/dosdevices/y:\" > $out/link\n" +
                "ls \"$WINEPREFIX/dosdevices/y:/Roland/BR0\" > $out/songs; sleep 0.5; exit 3\n");
        const QByteArray head = "[Preference]\r\nBRWCDriveLetter=";
        const QByteArray middle = "\r\nRate=44100\r\n; last\r\n[Preferece]\r\nFile=";
        QVERIFY(files().writeFile(u"conv/BRWC.ini"_s,
                                  head + "E" + middle +
                                      "OLD\r\ndirectory=E:\\\r\n[Other]\r\nKey=1\r\n"));
        TFormMain& window = openWith(u"backup"_s, converter, m_realLauncher);
        // While the converter runs the waiting window is modal (the event loop keeps running).
        QString modal;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (auto* waiting =
                    qobject_cast<TFormWaitConverter*>(QApplication::activeModalWidget()))
                modal = waiting->text();
        });
        probe.start(100);
        QTest::mouseClick(window.ToolButtonWave(), Qt::LeftButton);
        QCOMPARE(modal, u"Waiting for BR Wave Converter to close..."_s);
        QCOMPARE(run("wine"),
                 "1:" + converter.toLocal8Bit() + ':' + path(u"wine"_s).toLocal8Bit() + '\n');
        QCOMPARE(run("args"), converter.toLocal8Bit() + " 0\n");
        QCOMPARE(run("pwd"), line(u"conv"_s));
        QCOMPARE(run("link"), line(u"card"_s));
        QCOMPARE(run("songs"), QByteArray("SONG001.BR0\nSONG002.BR0\n"));
        // "File" is the Name cell as shown: the recorder's 8-character name field.
        const QString card = QDir(path(u"card"_s)).canonicalPath().replace(u'/', u'\\');
        QCOMPARE(run("ini"), head + "Y" + middle + "Song 1  \r\ndirectory=Z:" + card.toUtf8() +
                                 "\r\n[Other]\r\nKey=1\r\n");
        QVERIFY(!QFileInfo(yLink()).isSymLink() && !m_drives->drives().contains(u'Y'));
        QVERIFY(QFileInfo(path(u"card/Roland/BR0"_s)).isDir());
        QVERIFY(m_messages.messages().isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    // A missing converter (or a folder) is passed over silently; without Wine or a free letter
    // the reason is given. Nothing is written, linked or started.
    void refusalsTouchNothing() {
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
            writeScript(u"conv/BRWC.exe"_s, "");
            writeScript(u"conv/c.sh"_s, "");
            if (c.noWine)
                qputenv("PATH", path(u"plain"_s).toLocal8Bit());
            for (char16_t letter = u'D'; c.noFreeLetter && letter <= u'Y'; ++letter)
                m_drives->setDrive(
                    {.letter = QChar(letter), .root = path(u"plain"_s), .label = std::nullopt});
            openWith(u"backup"_s, converter, m_fakeLauncher).ToolButtonWaveClick();
            if (c.noWine)
                QVERIFY(m_messages.only(MessageKind::Error, WineNeededText(converter)));
            else if (c.noFreeLetter)
                QVERIFY(m_messages.only(MessageKind::Warning, NoFreeDriveLetterText()));
            else
                QVERIFY(m_messages.messages().isEmpty());
            QVERIFY(m_fakeLauncher.commands().isEmpty());
            QVERIFY(!QFileInfo::exists(path(u"conv/BRWC.ini"_s)));
            QCOMPARE(QDir(path(u"wine/dosdevices"_s))
                         .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                     QStringList{u"z:"_s});
        }
        QVERIFY(WineNeededText(QString()).contains(u"Debian package wine"_s));
    }

    // Without songs the wait for y:\Roland\BR0 runs its full time and the launch goes on, with
    // an empty "File"; the converter itself is run in its own folder. While it runs, another
    // click and closing the window do nothing.
    void folderWithoutSongsTimesOutAndTheRunningConverterHoldsTheWindow() {
        const QString converter = writeScript(u"conv/c.sh"_s, "");
        TFormMain& window = openWith(u"plain"_s, converter, m_fakeLauncher);
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
        QVERIFY(m_messages.only(MessageKind::Plain, u"Timed out waiting for virtual drive Y:"_s));
        const ProcessCommand direct{converter, {}, path(u"conv"_s), {}};
        QVERIFY(m_fakeLauncher.commands() == QList<ProcessCommand>{direct});
        QCOMPARE(linked, path(u"plain"_s));
        QVERIFY(files().readFile(u"conv/BRWC.ini"_s).contains("\nFile=\n"));
        QVERIFY(!QFileInfo(yLink()).isSymLink() && window.isVisible());
        QVERIFY(!settingsText().contains(u"[MainForm]"_s)); // no closing steps ran
    }

    // A converter that cannot be started (not executable, not a program) is reported and its
    // mapping removed. An unwritable BRWC.ini stops the launch; the mapping then stays until
    // the window closes.
    void failuresAreReportedAndTheMappingRemoved() {
        QFile file(path(u"conv/convert"_s));
        TFormMain& window = openWith(u"backup"_s, file.fileName(), m_realLauncher);
        const std::pair<QByteArray, QFile::Permissions> cases[] = {
            {"#!/bin/sh\n", QFile::ReadOwner},
            {QByteArray("\x7f"
                        "ELF\x01\x02 not a program"),
             QFile::ReadOwner | QFile::ExeOwner}};
        for (const auto& [bytes, permissions] : cases) {
            m_messages.clear();
            file.remove();
            QVERIFY(files().writeFile(u"conv/convert"_s, bytes) &&
                    file.setPermissions(permissions));
            window.ToolButtonWaveClick();
            QVERIFY(m_messages.onlyText(MessageKind::Error)
                        .startsWith(u"Unable to start "_s + file.fileName() + u'\r'));
            QVERIFY(!QFileInfo(yLink()).isSymLink() && !m_drives->drives().contains(u'Y'));
        }
        m_messages.clear();
        QVERIFY(QFile::remove(path(u"conv/BRWC.ini"_s)));
        QVERIFY(QDir().mkpath(path(u"conv/BRWC.ini"_s))); // a folder in its place
        window.ToolButtonWaveClick();
        QVERIFY(m_messages.only(MessageKind::Error,
                                u"Unable to write to "_s + path(u"conv/BRWC.ini"_s)));
        QCOMPARE(QFileInfo(yLink()).symLinkTarget(), path(u"backup"_s));
        window.close();
        QVERIFY(!QFileInfo(yLink()).isSymLink() && !m_drives->drives().contains(u'Y'));
        QVERIFY(QFileInfo(path(u"backup/Roland/BR0"_s)).isDir());
    }

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
        m_launcher = &launcher;
        return openIn(folder, u"WaveConverter="_s + converter + u'\n');
    }
    QString yLink() const { return path(u"wine/dosdevices/y:"_s); }
    QByteArray run(const char* name) const {
        return files().readFile(u"run/"_s + QLatin1String(name));
    }
    QByteArray line(const QString& relative) const { return path(relative).toLocal8Bit() + '\n'; }

    QProcessLauncher m_realLauncher;
    FakeProcessLauncher m_fakeLauncher;
    QByteArray m_savedPath;
};

QTEST_MAIN(WaveTest)
#include "wave_test.moc"
