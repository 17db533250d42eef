#pragma once

#include "platform/processlauncher.h"

#include <QChar>
#include <QString>
#include <optional>

// The Wine prefix the program hands its virtual drive to, and the paths Windows programs
// see inside it.

// $WINEPREFIX when set, else ~/.wine.
QString WinePrefixPath();

// The prefix's drive entry of a letter: "<prefix>/dosdevices/x:" (lower-case letter).
QString WineDriveLinkPath(const QString& prefix, QChar letter);

// A folder as a program run in the prefix sees it: through the drive entry of the prefix
// whose target covers most of the folder's real path ("Z:\home\ana\Backups\Song 1" when
// z: leads to "/"), the letter upper case and '\' as separator. The entry of `excluded`
// is not used. The folder itself, unchanged, when no entry covers it.
QString WineWindowsPath(const QString& prefix, const QString& folder, QChar excluded = QChar());

// A Windows program: its name ends in ".exe" in any case.
bool IsWindowsProgram(const QString& program);

// How a program is started: a Windows program through `wine` (found on PATH) with
// WINEPREFIX set to the prefix and the program's path as its argument; any other program
// directly, without arguments. Either runs in the program's own folder. nullopt for a
// Windows program when no `wine` is on PATH.
std::optional<ProcessCommand> ProgramCommand(const QString& program, const QString& prefix);
