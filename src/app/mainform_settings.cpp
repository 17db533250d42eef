// The main window's settings: reading them while it is built, its placement at the first
// activation, Preferences, the About box and the closing steps.

#include "app/aboutform.h"
#include "app/mainform.h"
#include "app/messages.h"
#include "app/preferences.h"
#include "app/songdetailsview.h"
#include "platform/drives.h"
#include "platform/virtualdrives.h"
#include "transfer/sizetext.h"

#include <QToolButton>

namespace {

// An error that escapes a handler: shown by the handler's guard.
class SettingsWriteFailure : public std::exception {
public:
    explicit SettingsWriteFailure(const IniWriteError& error)
        : m_message(error.message().toLocal8Bit()) {}
    const char* what() const noexcept override { return m_message.constData(); }

private:
    QByteArray m_message;
};

void ThrowOnFailure(const std::optional<IniWriteError>& error) {
    if (error)
        throw SettingsWriteFailure(*error);
}

} // namespace

void TFormMain::loadPathSettings() {
    const SettingsFile::PathSettings settings = m_settings.loadPathSettings();
    m_prefs = settings.prefs;
    move(settings.left, settings.top);
}

WindowPlacement TFormMain::currentPlacement() const {
    WindowPlacement placement;
    if (isMaximized())
        placement.windowState = 2;
    else if (isMinimized())
        placement.windowState = 1;
    const QRect frame = frameGeometry();
    placement.top = frame.top();
    placement.left = frame.left();
    placement.width = frame.width();
    placement.height = frame.height();
    return placement;
}

// The first activation: the placement stored by the last run.
void TFormMain::FormActivate() {
    const WindowPlacement placement = m_settings.readPlacement(currentPlacement());
    if (placement.windowState == 2) {
        setWindowState(Qt::WindowMaximized);
        return;
    }
    if (placement.windowState == 1) {
        setWindowState(Qt::WindowMinimized);
        return;
    }
    // Width and Height are the outer frame's; the window itself is smaller by the frame.
    const QSize frameExtra = frameGeometry().size() - size();
    move(placement.left, placement.top);
    resize(placement.width - frameExtra.width(), placement.height - frameExtra.height());
}

void TFormMain::FormClose() {
    m_details->commitEdits();
    if (!m_virtualDriveLetter.isNull())
        m_virtualDrives->SubstDelete(m_virtualDriveLetter);
    ThrowOnFailure(m_settings.saveAtClose(m_prefs, currentPlacement()));
}

void TFormMain::Preferences1Click() {
    if (!m_preferences)
        return;
    m_preferences->setPrefs(m_prefs);
    if (m_preferences->exec() != QDialog::Accepted)
        return;
    m_prefs = m_preferences->prefs();
    m_buttonWave->setEnabled(!IsBlankText(m_prefs.WaveConverter));
    const QRect frame = frameGeometry();
    ThrowOnFailure(m_settings.saveAfterPreferences(m_prefs, frame.top(), frame.left()));
}

void TFormMain::miHelpAboutClick() {
    if (m_about)
        m_about->exec();
}
