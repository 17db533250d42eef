#include "app/wavelaunch.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

TFormWaitConverter::TFormWaitConverter(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_label(new QLabel(QStringLiteral("Waiting for BR Wave Converter to close..."))) {
    setObjectName(QStringLiteral("FormWaitConverter"));
    setWindowTitle(QStringLiteral("Sorvane"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(m_label);
    // Input to the window itself is not needed either.
    setFocusPolicy(Qt::NoFocus);
}

QString TFormWaitConverter::text() const {
    return m_label->text();
}

void TFormWaitConverter::finish() {
    m_finished = true;
    hide();
}

void TFormWaitConverter::closeEvent(QCloseEvent* event) {
    if (m_finished)
        event->accept();
    else
        event->ignore();
}

bool WaitFor(const std::function<bool()>& exists, int limitMs) {
    if (exists())
        return true;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    bool found = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        found = exists();
        if (found || clock.elapsed() >= limitMs)
            loop.quit();
    });
    poll.start(50);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return found;
}

void PauseFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

ProcessOutcome RunAndWait(ProcessLauncher& launcher, const ProcessCommand& command,
                          QWidget* parent) {
    // Shared with the launcher's report, which may come after this function has returned
    // only if the event loop below was left early (it is not).
    struct State {
        bool done = false;
        ProcessOutcome outcome;
        QEventLoop loop;
    };
    auto state = std::make_shared<State>();
    TFormWaitConverter waiting(parent);
    launcher.start(command, [weak = std::weak_ptr<State>(state)](const ProcessOutcome& outcome) {
        if (const auto s = weak.lock()) {
            s->done = true;
            s->outcome = outcome;
            s->loop.quit();
        }
    });
    waiting.show();
    if (!state->done)
        state->loop.exec();
    waiting.finish();
    return state->outcome;
}

QString VirtualDriveTimeoutText(QChar letter) {
    return QStringLiteral("Timed out waiting for virtual drive ") + letter + u':';
}

QString NoFreeDriveLetterText() {
    return QStringLiteral("No free drive letter is left to present this folder to "
                          "BR Wave Converter.\rNothing was started.");
}

QString WineNeededText(const QString& converter) {
    return QStringLiteral("BR Wave Converter (") + converter +
           QStringLiteral(") is a Windows program and needs Wine to run.\r"
                          "Install the Debian package wine and try again.");
}

QString ConverterNotStartedText(const QString& converter, const QString& reason) {
    return QStringLiteral("Unable to start ") + converter + QStringLiteral("\r") + reason;
}
