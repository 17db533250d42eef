// The main window's WAV command: BR Wave Converter started on the current folder, which it
// is shown as the virtual drive VirtualDriveLetter.

#include "app/mainform.h"
#include "app/messages.h"
#include "app/songlistview.h"
#include "app/wavelaunch.h"
#include "card/cardpath.h"
#include "platform/virtualdrives.h"
#include "platform/wineprefix.h"
#include "transfer/brwcini.h"
#include "transfer/sizetext.h"

#include <QApplication>
#include <QFileInfo>

namespace {

// The hour-glass for the length of a scope.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A flag set for the length of a scope.
class Running {
public:
    explicit Running(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Running() { m_flag = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& m_flag;
};

constexpr int SettleAfterDriveMs = 200;

} // namespace

void TFormMain::ToolButtonWaveClick() {
    const QString converter = m_prefs.WaveConverter;
    if (m_converterRunning || !m_services.launcher || IsBlankText(converter) ||
        !QFileInfo(converter).isFile())
        return;
    const std::optional<ProcessCommand> command =
        ProgramCommand(converter, m_virtualDrives->winePrefix());
    if (!command) {
        m_messages.error(this, WineNeededText(converter));
        return;
    }
    const QChar letter = m_virtualDriveLetter;
    if (letter.isNull()) {
        m_messages.warning(this, NoFreeDriveLetterText());
        return;
    }
    const Running running(m_converterRunning);
    QString failure;
    bool driveShown = false;
    {
        const WaitCursor busy;
        // Wine knows nothing of the program's own drive letters, so the folder is always
        // handed over as the virtual drive, also when it is a drive root.
        m_virtualDrives->SubstDelete(letter);
        const bool mapped = m_virtualDrives->SubstCreate(letter, currentFolder());
        failure = writeConverterSettings(converter, letter);
        if (failure.isEmpty())
            driveShown = waitForVirtualDrive(letter, mapped);
    }
    if (!failure.isEmpty()) { // the mapping stays until the next launch or the close
        m_messages.error(this, failure);
        return;
    }
    if (!driveShown) // the launch goes on all the same
        m_messages.plain(this, VirtualDriveTimeoutText(letter));
    const ProcessOutcome outcome = RunAndWait(*m_services.launcher, *command, this);
    m_virtualDrives->SubstDelete(letter);
    if (!outcome.started)
        m_messages.error(this, ConverterNotStartedText(converter, outcome.error));
}

QString TFormMain::writeConverterSettings(const QString& converter, QChar letter) {
    const QString folder = currentFolder();
    const BrwcSettings settings{letter, m_songList->selectedName(),
                                WineWindowsPath(m_virtualDrives->winePrefix(), folder, letter)};
    const std::optional<IniWriteError> error = WriteBrwcIni(BrwcIniPath(converter), settings);
    return error ? error->message() : QString();
}

// Waits for the drive's recorder folder to show through the prefix's link; false after the
// time limit.
bool TFormMain::waitForVirtualDrive(QChar letter, bool mapped) {
    const QString link = m_virtualDrives->linkPath(letter);
    const bool found = WaitFor(
        [&] {
            return mapped && QFileInfo(ResolveCardPath(link, QStringLiteral("Roland/BR0"))).isDir();
        },
        m_services.virtualDriveTimeout);
    if (found)
        PauseFor(SettleAfterDriveMs);
    return found;
}
