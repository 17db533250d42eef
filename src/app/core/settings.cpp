#include "app/core/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kPaths = QStringLiteral("Paths");
const QString kMainForm = QStringLiteral("MainForm");
const QString kDefaultDir = QStringLiteral("DefaultDir");
const QString kWaveConverter = QStringLiteral("WaveConverter");
const QString kWindowState = QStringLiteral("WindowState");
const QString kTop = QStringLiteral("Top");
const QString kLeft = QStringLiteral("Left");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");

} // namespace

QString ProgramVersion() {
    return QStringLiteral("1.05");
}

QString VersionLabelText() {
    return QStringLiteral("Version ") + ProgramVersion();
}

QString DefaultFolder() {
    return QDir::toNativeSeparators(QDir::homePath());
}

bool ReplaceMissingDefaultDir(Prefs& prefs) {
    if (!prefs.DefaultDir.isEmpty() && QFileInfo(prefs.DefaultDir).isDir()) {
        return false;
    }
    prefs.DefaultDir = DefaultFolder();
    return true;
}

QString SettingsFilePath(const QString& executablePath, const QString& configHome) {
    const QFileInfo executable(executablePath);
    const QString fileName = executable.completeBaseName() + QStringLiteral(".ini");
    const QFileInfo folder(executable.absolutePath());
    if (folder.isDir() && folder.isWritable()) {
        return QDir(executable.absolutePath()).filePath(fileName);
    }
    return QDir(configHome).filePath(QStringLiteral("Sorvane/") + fileName);
}

QString SettingsFilePath() {
    return SettingsFilePath(
        QCoreApplication::applicationFilePath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

SettingsFile::PathSettings SettingsFile::loadPathSettings() const {
    IniFile ini(m_path);
    ini.load();
    PathSettings settings;
    settings.prefs.DefaultDir = ini.readString(kPaths, kDefaultDir, DefaultFolder());
    settings.prefs.WaveConverter = ini.readString(kPaths, kWaveConverter, QString());
    settings.top = ini.readInteger(kMainForm, kTop, kDefaultTopLeft);
    settings.left = ini.readInteger(kMainForm, kLeft, kDefaultTopLeft);
    return settings;
}

WindowPlacement SettingsFile::readPlacement(const WindowPlacement& current) const {
    IniFile ini(m_path);
    ini.load();
    WindowPlacement placement = current;
    const int state = ini.readInteger(kMainForm, kWindowState, current.windowState);
    placement.windowState = (state >= 0 && state <= 2) ? state : current.windowState;
    if (placement.windowState != 0) {
        return placement;
    }
    placement.top = ini.readInteger(kMainForm, kTop, current.top);
    placement.left = ini.readInteger(kMainForm, kLeft, current.left);
    placement.width = ini.readInteger(kMainForm, kWidth, current.width);
    placement.height = ini.readInteger(kMainForm, kHeight, current.height);
    return placement;
}

std::optional<IniWriteError> SettingsFile::writePaths(IniFile& ini, const Prefs& prefs) const {
    if (!ini.writeString(kPaths, kDefaultDir, prefs.DefaultDir) ||
        !ini.writeString(kPaths, kWaveConverter, prefs.WaveConverter)) {
        return IniWriteError(m_path);
    }
    return std::nullopt;
}

std::optional<IniWriteError> SettingsFile::save(const IniFile& ini) const {
    if (!ini.save()) {
        return IniWriteError(m_path);
    }
    return std::nullopt;
}

std::optional<IniWriteError> SettingsFile::saveAfterPreferences(const Prefs& prefs, int top,
                                                                int left) const {
    IniFile ini(m_path);
    ini.load();
    if (auto error = writePaths(ini, prefs)) {
        return error;
    }
    ini.writeInteger(kMainForm, kTop, top);
    ini.writeInteger(kMainForm, kLeft, left);
    return save(ini);
}

std::optional<IniWriteError> SettingsFile::saveAtClose(const Prefs& prefs,
                                                       const WindowPlacement& placement) const {
    IniFile ini(m_path);
    ini.load();
    if (auto error = writePaths(ini, prefs)) {
        return error;
    }
    ini.writeInteger(kMainForm, kWindowState, placement.windowState);
    if (placement.windowState == 0) {
        ini.writeInteger(kMainForm, kTop, placement.top);
        ini.writeInteger(kMainForm, kLeft, placement.left);
        ini.writeInteger(kMainForm, kWidth, placement.width);
        ini.writeInteger(kMainForm, kHeight, placement.height);
    }
    return save(ini);
}
