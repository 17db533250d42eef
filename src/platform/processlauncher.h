#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

// A program to start: never a shell command line.
struct ProcessCommand {
    QString program;
    QStringList arguments;
    QString workingDirectory; // empty: the program's own
    // Variables set on top of the program's environment.
    QList<QPair<QString, QString>> environment;

    bool operator==(const ProcessCommand&) const = default;
};

// How a started program ended.
struct ProcessOutcome {
    bool started = false;
    QString error; // why it could not be started; empty when it started
    int exitCode = 0;
};

// Starts outside programs. The outcome is reported once, from the event loop, when the
// program has exited or could not be started; the caller's window keeps being painted
// meanwhile.
class ProcessLauncher {
public:
    using Finished = std::function<void(const ProcessOutcome&)>;

    virtual ~ProcessLauncher() = default;
    virtual void start(const ProcessCommand& command, Finished finished) = 0;
};
