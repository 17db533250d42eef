#include "platform/fakeprocesslauncher.h"

#include <QTimer>

void FakeProcessLauncher::start(const ProcessCommand& command, Finished finished) {
    m_commands.append(command);
    QTimer::singleShot(0, [run = m_run, command, finished = std::move(finished)] {
        finished(run ? run(command) : ProcessOutcome{true, QString(), 0});
    });
}
