#include "platform/qprocesslauncher.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

// Programs started with QProcess: arguments and environment as given, the outcome reported
// once from the event loop, start failures reported with a reason.
class ProcessLauncherTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void runsWithArgumentsEnvironmentAndFolder();
    void reportsFromTheEventLoop();
    void startFailures_data();
    void startFailures();
    void destroyedLauncherEndsItsPrograms();

private:
    QString writeScript(const QString& name, const QByteArray& body);
    QString file(const QString& name) const { return m_dir->path() + u'/' + name; }
    QByteArray read(const QString& name) const;
    // Starts the command and waits for the outcome.
    std::optional<ProcessOutcome> run(ProcessLauncher& launcher, const ProcessCommand& command);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void ProcessLauncherTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString ProcessLauncherTest::writeScript(const QString& name, const QByteArray& body) {
    QFile script(file(name));
    if (!script.open(QIODevice::WriteOnly))
        return QString();
    script.write("#!/bin/sh\n" + body);
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    return script.fileName();
}

QByteArray ProcessLauncherTest::read(const QString& name) const {
    QFile in(file(name));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

std::optional<ProcessOutcome> ProcessLauncherTest::run(ProcessLauncher& launcher,
                                                       const ProcessCommand& command) {
    std::optional<ProcessOutcome> outcome;
    int reports = 0;
    launcher.start(command, [&](const ProcessOutcome& o) {
        outcome = o;
        ++reports;
    });
    if (!QTest::qWaitFor([&] { return reports > 0; }, 10'000))
        return std::nullopt;
    QTest::qWait(20); // a second report would come now
    return reports == 1 ? outcome : std::nullopt;
}

void ProcessLauncherTest::runsWithArgumentsEnvironmentAndFolder() {
    const QString script =
        writeScript(QStringLiteral("s.sh"), "printf '%s|' \"$@\" > out\n"
                                            "printf '%s' \"$SORVANE_TEST_VALUE\" > env\n"
                                            "exit 7\n");
    QProcessLauncher launcher;
    ProcessCommand command;
    command.program = script;
    // Never a shell line: blanks, quotes and $ reach the program as they are.
    command.arguments = {QStringLiteral("a b"), QStringLiteral("'$HOME'"), QStringLiteral(";x")};
    command.workingDirectory = m_dir->path();
    command.environment = {{QStringLiteral("SORVANE_TEST_VALUE"), QStringLiteral("v 1")}};
    const auto outcome = run(launcher, command);
    QVERIFY(outcome);
    QVERIFY(outcome->started);
    QCOMPARE(outcome->exitCode, 7);
    QVERIFY(outcome->error.isEmpty());
    QCOMPARE(read(QStringLiteral("out")), QByteArray("a b|'$HOME'|;x|"));
    QCOMPARE(read(QStringLiteral("env")), QByteArray("v 1"));
}

void ProcessLauncherTest::reportsFromTheEventLoop() {
    QProcessLauncher launcher;
    for (const QString& program :
         {writeScript(QStringLiteral("ok.sh"), "exit 0\n"), file(QStringLiteral("missing"))}) {
        bool reported = false;
        launcher.start({program, {}, {}, {}}, [&](const ProcessOutcome&) { reported = true; });
        QVERIFY(!reported); // not from within start()
        QTRY_VERIFY(reported);
    }
}

void ProcessLauncherTest::startFailures_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("executable");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not executable") << QByteArray("#!/bin/sh\nexit 0\n") << false;
    QTest::newRow("bad format") << QByteArray("MZ\x90\x00 not for this system", 24) << true;
}

void ProcessLauncherTest::startFailures() {
    QFETCH(QByteArray, contents);
    QFETCH(bool, executable);
    const QString program = file(QStringLiteral("prog"));
    if (!contents.isEmpty()) {
        QFile out(program);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(contents);
        out.close();
        QVERIFY(out.setPermissions(executable ? QFile::ReadOwner | QFile::ExeOwner
                                              : QFile::ReadOwner | QFile::WriteOwner));
    }
    QProcessLauncher launcher;
    const auto outcome = run(launcher, {program, {}, {}, {}});
    QVERIFY(outcome);
    QVERIFY(!outcome->started);
    QVERIFY(!outcome->error.isEmpty());
}

void ProcessLauncherTest::destroyedLauncherEndsItsPrograms() {
    const QString script = writeScript(QStringLiteral("long.sh"), "echo $$ > pid\nexec sleep 30\n");
    bool reported = false;
    {
        QProcessLauncher launcher;
        launcher.start({script, {}, m_dir->path(), {}},
                       [&](const ProcessOutcome&) { reported = true; });
        QTRY_VERIFY(read(QStringLiteral("pid")).endsWith('\n'));
        QVERIFY(QFileInfo::exists(QStringLiteral("/proc/") +
                                  QString::fromLatin1(read(QStringLiteral("pid")).trimmed())));
    }
    // Ended and reaped with the launcher, and nobody is told afterwards.
    QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/") +
                               QString::fromLatin1(read(QStringLiteral("pid")).trimmed())));
    QTest::qWait(20);
    QVERIFY(!reported);
}

QTEST_GUILESS_MAIN(ProcessLauncherTest)
#include "processlauncher_test.moc"
