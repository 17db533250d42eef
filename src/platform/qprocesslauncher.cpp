#include "platform/qprocesslauncher.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <memory>
#include <utility>

QProcessLauncher::QProcessLauncher() = default;

QProcessLauncher::~QProcessLauncher() {
    for (QProcess* process : m_owner.findChildren<QProcess*>()) {
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
    }
}

void QProcessLauncher::start(const ProcessCommand& command, Finished finished) {
    auto* process = new QProcess(&m_owner);
    process->setProgram(command.program);
    process->setArguments(command.arguments);
    if (!command.workingDirectory.isEmpty())
        process->setWorkingDirectory(command.workingDirectory);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : command.environment)
        environment.insert(name, value);
    process->setProcessEnvironment(environment);
    process->setStandardInputFile(QProcess::nullDevice());

    // Reported once, always from the event loop.
    auto report = std::make_shared<Finished>(std::move(finished));
    auto done = [process, report](const ProcessOutcome& outcome) {
        if (!*report)
            return;
        const Finished call = std::exchange(*report, Finished());
        process->deleteLater();
        QTimer::singleShot(0, [call, outcome] { call(outcome); });
    };
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, done](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             done({false, process->errorString(), -1});
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [done](int exitCode, QProcess::ExitStatus) {
                         done({true, QString(), exitCode});
                     });
    process->start();
}
