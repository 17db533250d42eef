#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What a finished program left: exit code -1 when it did not finish normally.
struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString text; // `out` read as UTF-8
};

// Runs a built program with a clean locale environment.
inline RunResult RunProgram(const char* program, const QStringList& args,
                            const char* lang = "C.UTF-8") {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_COLLATE"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LANG"), QString::fromUtf8(lang));
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(program), args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitCode(), out, process.readAllStandardError(), QString::fromUtf8(out)};
}
