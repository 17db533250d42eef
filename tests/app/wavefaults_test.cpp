#include "app/support/wavefixture.h"
#include "app/wavelaunch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

// The WAV button's failures: no spare letter, no Wine, a converter that cannot start, a
// BRWC.ini that cannot be written, and a drive entry of the prefix that is not a link.
class WaveFaultsTest : public WaveFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { setUpWaveFixture(); }
    void cleanup() { tearDownWaveFixture(); }

    void noFreeLetterStartsNothing();
    void windowsConverterWithoutWine();
    void converterThatCannotStart_data();
    void converterThatCannotStart();
    void unwritableBrwcIniStopsAndCloseRemovesMapping();
    void entryThatIsNoLinkIsLeftAlone();

private:
    // Nothing was written, linked or started.
    void checkNothingChanged();
};

void WaveFaultsTest::checkNothingChanged() {
    QVERIFY(m_fakeLauncher.commands().isEmpty());
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("conv/BRWC.ini"))));
    QCOMPARE(QDir(path(QStringLiteral("wine/dosdevices")))
                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("z:")});
}

void WaveFaultsTest::noFreeLetterStartsNothing() {
    writeScript(QStringLiteral("conv/c.sh"), "exit 0\n");
    writeWaveSettings(QStringLiteral("backup"), path(QStringLiteral("conv/c.sh")));
    FakeDrive taken;
    taken.root = path(QStringLiteral("plain"));
    for (char16_t c = u'D'; c <= u'Y'; ++c) {
        taken.letter = QChar(c);
        m_drives->setDrive(taken);
    }
    m_launcher = &m_fakeLauncher;
    TFormMain& window = open();
    QCOMPARE(window.virtualDriveLetter(), QChar());
    window.ToolButtonWaveClick();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Warning);
    QCOMPARE(m_messages.messages()[0].text, NoFreeDriveLetterText());
    QVERIFY(m_messages.messages()[0].text.contains(QStringLiteral("No free drive letter")));
    checkNothingChanged();
    window.close(); // nothing to remove at close either
    QCOMPARE(m_messages.messages().size(), 1);
}

void WaveFaultsTest::windowsConverterWithoutWine() {
    qputenv("PATH", path(QStringLiteral("plain")).toLocal8Bit()); // no wine there
    const QString converter = path(QStringLiteral("conv/BRWaveConverter.exe"));
    QVERIFY(writeScript(QStringLiteral("conv/BRWaveConverter.exe"), "exit 0\n"));
    writeWaveSettings(QStringLiteral("backup"), converter);
    m_launcher = &m_fakeLauncher;
    open().ToolButtonWaveClick();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Error);
    const QString text = m_messages.messages()[0].text;
    QCOMPARE(text, WineNeededText(converter));
    QVERIFY(text.contains(converter));
    QVERIFY(text.contains(QStringLiteral("Debian package wine")));
    checkNothingChanged();
}

void WaveFaultsTest::converterThatCannotStart_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("executable");
    QTest::newRow("not executable") << QByteArray("#!/bin/sh\nexit 0\n") << false;
    QTest::newRow("bad format") << QByteArray("\x7f"
                                              "ELF\x01\x02 not a program")
                                << true;
}

void WaveFaultsTest::converterThatCannotStart() {
    QFETCH(QByteArray, contents);
    QFETCH(bool, executable);
    const QString converter = path(QStringLiteral("conv/convert"));
    QFile file(converter);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner | QFile::ExeUser;
    QVERIFY(file.setPermissions(permissions));
    writeWaveSettings(QStringLiteral("backup"), converter);
    m_launcher = &m_realLauncher;
    open().ToolButtonWaveClick();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Error);
    QVERIFY2(m_messages.messages()[0].text.startsWith(QStringLiteral("Unable to start ") +
                                                      converter + u'\r'),
             qPrintable(m_messages.messages()[0].text));
    QVERIFY(!QFileInfo(yLink()).isSymLink()); // the mapping is removed
    QVERIFY(!m_drives->drives().contains(u'Y'));
}

void WaveFaultsTest::unwritableBrwcIniStopsAndCloseRemovesMapping() {
    writeScript(QStringLiteral("conv/c.sh"), "exit 0\n");
    writeWaveSettings(QStringLiteral("backup"), path(QStringLiteral("conv/c.sh")));
    QVERIFY(QDir().mkpath(path(QStringLiteral("conv/BRWC.ini")))); // a folder in its place
    m_launcher = &m_fakeLauncher;
    TFormMain& window = open();
    window.ToolButtonWaveClick();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Error);
    QCOMPARE(m_messages.messages()[0].text,
             QStringLiteral("Unable to write to ") + path(QStringLiteral("conv/BRWC.ini")));
    QVERIFY(m_fakeLauncher.commands().isEmpty());
    // The mapping stays until the program closes.
    QCOMPARE(QFileInfo(yLink()).symLinkTarget(), path(QStringLiteral("backup")));
    window.close();
    QVERIFY(!QFileInfo(yLink()).isSymLink());
    QVERIFY(!m_drives->drives().contains(u'Y'));
    QVERIFY(QFileInfo(path(QStringLiteral("backup/Roland/BR0"))).isDir());
}

void WaveFaultsTest::entryThatIsNoLinkIsLeftAlone() {
    writeScript(QStringLiteral("conv/c.sh"), "exit 0\n");
    writeWaveSettings(QStringLiteral("backup"), path(QStringLiteral("conv/c.sh")));
    m_launcher = &m_fakeLauncher;
    TFormMain& window = open();
    QCOMPARE(window.virtualDriveLetter(), QChar(u'Y'));
    // Something else made a real folder under the letter after start-up.
    QVERIFY(QDir().mkpath(yLink() + QStringLiteral("/Roland/BR0/SONG009.BR0")));
    window.ToolButtonWaveClick();
    // Not linked, so not found: the converter is still started after the timeout.
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].text, VirtualDriveTimeoutText(u'Y'));
    QCOMPARE(m_fakeLauncher.commands().size(), 1);
    window.close();
    QVERIFY(!QFileInfo(yLink()).isSymLink());
    QVERIFY(QFileInfo(yLink() + QStringLiteral("/Roland/BR0/SONG009.BR0")).isDir());
}

QTEST_MAIN(WaveFaultsTest)
#include "wavefaults_test.moc"
