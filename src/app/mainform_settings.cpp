// The main window's settings: reading them while it is built, its placement at the first
// activation, Preferences, the About box and the closing steps.

#include "app/aboutform.h"
#include "app/core/placement.h"
#include "app/mainform.h"
#include "app/messages.h"
#include "app/preferences.h"
#include "app/songdetailsview.h"
#include "platform/drives.h"
#include "platform/virtualdrives.h"
#include "transfer/sizetext.h"

#include <QGuiApplication>
#include <QScreen>
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

// The available areas of the screens, without task bars.
QList<QRect> AvailableScreens() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

QRect PrimaryArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

// The designed size centred on the desktop: where the window goes when the stored placement
// cannot be used, and what is stored instead of a placement that could not be restored.
WindowPlacement TFormMain::designedPlacement() const {
    const QSize frameExtra = frameGeometry().size() - size();
    WindowPlacement placement = CentredPlacement(QSize(DesignWidth, DesignHeight), PrimaryArea());
    placement.width += frameExtra.width();
    placement.height += frameExtra.height();
    return placement;
}

void TFormMain::loadPathSettings() {
    const SettingsFile::PathSettings settings = m_settings.loadPathSettings();
    m_prefs = settings.prefs;
    WindowPlacement stored = currentPlacement();
    stored.left = settings.left;
    stored.top = settings.top;
    if (IsSanePlacement(stored, AvailableScreens()))
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
    // A placement from another desktop, or a damaged one, is not applied.
    const WindowPlacement applied =
        IsSanePlacement(placement, AvailableScreens()) ? placement : designedPlacement();
    // Width and Height are the outer frame's; the window itself is smaller by the frame.
    const QSize frameExtra = frameGeometry().size() - size();
    move(applied.left, applied.top);
    resize(std::max(1, applied.width - frameExtra.width()),
           std::max(1, applied.height - frameExtra.height()));
}

// The placement to store: the window's own, or the designed one when the window has come to
// a place it could not be restored to.
WindowPlacement TFormMain::placementToStore() const {
    WindowPlacement placement = currentPlacement();
    if (placement.windowState == 0 && !IsSanePlacement(placement, AvailableScreens())) {
        WindowPlacement designed = designedPlacement();
        designed.windowState = placement.windowState;
        placement = designed;
    }
    return placement;
}

void TFormMain::FormClose() {
    m_details->commitEdits();
    if (!m_virtualDriveLetter.isNull())
        m_virtualDrives->SubstDelete(m_virtualDriveLetter);
    ThrowOnFailure(m_settings.saveAtClose(m_prefs, placementToStore()));
}

void TFormMain::Preferences1Click() {
    if (!m_preferences)
        return;
    m_preferences->setPrefs(m_prefs);
    if (m_preferences->exec() != QDialog::Accepted)
        return;
    m_prefs = m_preferences->prefs();
    m_buttonWave->setEnabled(!IsBlankText(m_prefs.WaveConverter));
    WindowPlacement placement = currentPlacement();
    if (!IsSanePlacement(placement, AvailableScreens()))
        placement = designedPlacement();
    ThrowOnFailure(m_settings.saveAfterPreferences(m_prefs, placement.top, placement.left));
}

void TFormMain::miHelpAboutClick() {
    if (m_about)
        m_about->exec();
}
