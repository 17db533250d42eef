#pragma once

#include "app/core/inifile.h"

#include <QString>
#include <optional>

// The path settings of the main window.
struct Prefs {
    QString DefaultDir;    // the main backup folder
    QString WaveConverter; // the converter program's path; blank when not configured
};

// The main window's placement: WindowState 0 normal, 1 minimised, 2 maximised; the outer
// frame's position and size in screen pixels.
struct WindowPlacement {
    int windowState = 0;
    int top = 0;
    int left = 0;
    int width = 0;
    int height = 0;
};

// Where "Top" and "Left" start while the window is built, when the file has none.
inline constexpr int kDefaultTopLeft = 10;

// The program's version and the About box's version label.
QString ProgramVersion();
QString VersionLabelText();

// The folder used where no main backup folder is set or it does not exist: the user's home.
QString DefaultFolder();
// Prefs.DefaultDir replaced by DefaultFolder() when it names no existing directory (in
// memory only). Returns true when it was replaced.
bool ReplaceMissingDefaultDir(Prefs& prefs);

// The settings file: the executable's path with ".ini" for its extension when the
// executable's folder is writable, else the same file name in "<configHome>/Sorvane".
QString SettingsFilePath(const QString& executablePath, const QString& configHome);
// The same for this process (the XDG configuration folder as fallback).
QString SettingsFilePath();

// The settings file's read and write batches. Each batch opens the file, and a write
// batch replaces it in one atomic step: when it fails nothing of the batch is written
// and the error tells the user which file could not be written.
class SettingsFile {
public:
    explicit SettingsFile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    struct PathSettings {
        Prefs prefs;
        int top = kDefaultTopLeft;
        int left = kDefaultTopLeft;
    };
    // [Paths] DefaultDir (default: DefaultFolder()) and WaveConverter (default empty),
    // [MainForm] Top and Left (default 10): read while the main window is built.
    PathSettings loadPathSettings() const;

    // The placement to apply at the first activation: WindowState read with the current
    // state as default (values other than 0, 1, 2 read as the default); when that is 0,
    // Top, Left, Width and Height read with the current values as defaults, otherwise the
    // current geometry is kept.
    WindowPlacement readPlacement(const WindowPlacement& current) const;

    // After Preferences is confirmed: [Paths] DefaultDir, WaveConverter, [MainForm] Top,
    // Left, whatever the window state.
    [[nodiscard]] std::optional<IniWriteError> saveAfterPreferences(const Prefs& prefs, int top,
                                                                    int left) const;
    // When the main window closes: [Paths] DefaultDir, WaveConverter, [MainForm]
    // WindowState, and only for a normal window Top, Left, Width, Height.
    [[nodiscard]] std::optional<IniWriteError> saveAtClose(const Prefs& prefs,
                                                           const WindowPlacement& placement) const;

private:
    std::optional<IniWriteError> writePaths(IniFile& ini, const Prefs& prefs) const;
    std::optional<IniWriteError> save(const IniFile& ini) const;

    QString m_path;
};
