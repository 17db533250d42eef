#pragma once

#include "platform/processlauncher.h"

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;

// The small modal window shown while BR Wave Converter runs. It takes no input and cannot
// be closed by the user; the main window behind it keeps being painted.
class TFormWaitConverter : public QDialog {
    Q_OBJECT
public:
    explicit TFormWaitConverter(QWidget* parent = nullptr);

    QString text() const;
    // Closes the window once the converter has exited.
    void finish();

protected:
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_label;
    bool m_finished = false;
};

// Waits until `exists` holds, testing it at once and then every 50 ms for at most
// `limitMs`. Windows are painted meanwhile; user input waits until it returns. True when
// it held in time.
bool WaitFor(const std::function<bool()>& exists, int limitMs);
// Lets `ms` milliseconds pass the same way.
void PauseFor(int ms);

// Starts the command and returns when it has exited (or could not be started), with the
// waiting window shown modally over `parent` meanwhile.
ProcessOutcome RunAndWait(ProcessLauncher& launcher, const ProcessCommand& command,
                          QWidget* parent);

// Texts of the launch.
QString VirtualDriveTimeoutText(QChar letter);
QString NoFreeDriveLetterText();
QString WineNeededText(const QString& converter);
QString ConverterNotStartedText(const QString& converter, const QString& reason);
