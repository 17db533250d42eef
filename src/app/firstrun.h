#pragma once

#include <QString>

// The first run of a freshly built program: when no settings file exists yet and a demo
// card folder does, writes that folder as the main backup folder ([Paths] DefaultDir), so
// that the window opens on it. Returns true when the file was written.
bool WriteFirstRunDefaultDir(const QString& settingsPath, const QString& demoFolder);
