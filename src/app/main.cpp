// Program entry: the application, the platform services and the windows.

#include "app/aboutform.h"
#include "app/backuprestoreconfirm.h"
#include "app/copyfiles.h"
#include "app/core/localpages.h"
#include "app/core/settings.h"
#include "app/firstrun.h"
#include "app/mainform.h"
#include "app/messages.h"
#include "app/newfolder.h"
#include "app/preferences.h"
#include "app/selectfolder.h"
#include "media/core/logfile.h"
#include "platform/gui/desktopshell.h"
#include "platform/linuxdrives.h"
#include "platform/mountwatcher.h"
#include "platform/qprocesslauncher.h"
#include "platform/systemmediaplayback.h"
#include "transfer/copyengine.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <exception>
#include <memory>

namespace {

// Shows an error that escaped an event handler and lets the program go on.
class SorvaneApplication : public QApplication {
public:
    SorvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QtMessageBoxes().error(activeWindow(), QString::fromLocal8Bit(error.what()));
        }
        return false;
    }
};

bool AltKeyHeld() {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}

} // namespace

#ifndef SORVANE_DIAG_LOG
#define SORVANE_DIAG_LOG 0
#endif

// The program-wide diagnostic log: built before the main window, gone after it. Switched
// on only in a diagnostic build (cmake -DSORVANE_DIAG_LOG=ON).
LogFile DiagLog(SORVANE_DIAG_LOG != 0);

int main(int argc, char* argv[]) {
    SorvaneApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorvane"));
    QApplication::setFont(SorvaneWindowFont());
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("sorvane")));

    LinuxDrives drives;
    DesktopShell shell;
    QtMessageBoxes messages;
    const QString settingsPath = SettingsFilePath();
    // A freshly built program opens the demo card that scripts/run.sh writes beside it.
    WriteFirstRunDefaultDir(settingsPath,
                            QCoreApplication::applicationDirPath() + QStringLiteral("/demo-card"));

    // The player's device: the sound card through SDL2, MIDI through the GM soundfont.
    const std::unique_ptr<MediaPlayback> playback = CreateSystemMediaPlayback();
    QProcessLauncher launcher;
    MountWatcher mountWatcher;
    MainFormServices services{drives,         shell,      messages,  settingsPath, HelpPagePath(),
                              HomePagePath(), AltKeyHeld, *playback, DiagLog};
    services.launcher = &launcher;
    services.driveWatcher = &mountWatcher;
    // The main window first: the About box takes its version label from it. Each dialog
    // is created after the dialogs it opens.
    TFormMain formMain(services);
    TFormNewFolder formNewFolder(&formMain);
    TFormSelectFolder formSelectFolder(drives, formNewFolder, messages, &formMain);
    TFormPreferences formPreferences(formSelectFolder, &formMain);
    TFormAbout formAbout(formMain.versionLabelText(), &formMain);
    formMain.setDialogs(&formPreferences, &formAbout);
    PosixCopyFileLayer copyFiles;
    CopyEngine copyEngine(copyFiles);
    QtCopyQuestions copyQuestions;
    TFormBackupRestoreConfirm formBackupRestoreConfirm(&formMain);
    TFormCopyFiles formCopyFiles(copyEngine, copyQuestions, &formMain);
    formMain.setTransferDialogs(&formSelectFolder, &formBackupRestoreConfirm, &formCopyFiles);
    formMain.show();
    QApplication::exec();
    return 0;
}
