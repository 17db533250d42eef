#pragma once

#include "app/core/inifile.h"

#include <QChar>
#include <QString>
#include <optional>

// BRWC.ini, the settings file of BR Wave Converter in the converter's own folder, through
// which the program tells the converter which drive, song and folder to open.
struct BrwcSettings {
    QChar driveLetter; // [Preference] BRWCDriveLetter: one letter, no colon
    QString file;      // [Preferece] File: the selected song's name
    QString directory; // [Preferece] Directory: the folder as the converter sees it
};

// The converter's folder followed by "BRWC.ini"; an existing entry of that name in any
// letter case is reused.
QString BrwcIniPath(const QString& converterPath);

// Writes the three entries, in this order, keeping every other entry, comment and line
// ending of the file, and replaces the file atomically. The converter reads the last two
// from the section "Preferece", spelled so. A failure (including a value holding a line
// break, which the file cannot store) leaves the file as it was.
std::optional<IniWriteError> WriteBrwcIni(const QString& iniPath, const BrwcSettings& settings);
