#include "transfer/brwcini.h"

#include "card/cardpath.h"

#include <QFileInfo>

QString BrwcIniPath(const QString& converterPath) {
    return ResolveCardPath(QFileInfo(converterPath).absolutePath(), QStringLiteral("BRWC.ini"));
}

std::optional<IniWriteError> WriteBrwcIni(const QString& iniPath, const BrwcSettings& settings) {
    IniFile ini(iniPath);
    ini.load();
    const bool stored =
        ini.writeString(QStringLiteral("Preference"), QStringLiteral("BRWCDriveLetter"),
                        QString(settings.driveLetter)) &&
        ini.writeString(QStringLiteral("Preferece"), QStringLiteral("File"), settings.file) &&
        ini.writeString(QStringLiteral("Preferece"), QStringLiteral("Directory"),
                        settings.directory);
    if (!stored || !ini.save())
        return IniWriteError(iniPath);
    return std::nullopt;
}
