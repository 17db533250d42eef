#pragma once

#include "platform/processlauncher.h"

#include <QObject>

// Programs started with QProcess. A program still running when the launcher is destroyed
// is ended.
class QProcessLauncher final : public ProcessLauncher {
public:
    QProcessLauncher();
    ~QProcessLauncher() override;

    void start(const ProcessCommand& command, Finished finished) override;

private:
    QObject m_owner; // parent of the running processes
};
