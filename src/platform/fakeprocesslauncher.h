#pragma once

#include "platform/processlauncher.h"

#include <QList>
#include <functional>

// Records the commands instead of starting anything; for tests. Each "run" happens from
// the event loop after start() returns: the run hook is called (the program is running
// then) and its outcome is reported. Without a hook every program starts and exits with 0.
class FakeProcessLauncher final : public ProcessLauncher {
public:
    using Run = std::function<ProcessOutcome(const ProcessCommand&)>;

    void setRun(Run run) { m_run = std::move(run); }
    const QList<ProcessCommand>& commands() const { return m_commands; }

    void start(const ProcessCommand& command, Finished finished) override;

private:
    Run m_run;
    QList<ProcessCommand> m_commands;
};
