#include "app/firstrun.h"

#include "app/core/inifile.h"

#include <QDir>
#include <QFileInfo>

bool WriteFirstRunDefaultDir(const QString& settingsPath, const QString& demoFolder) {
    if (QFileInfo::exists(settingsPath) || !QFileInfo(demoFolder).isDir())
        return false;
    IniFile ini(settingsPath);
    if (!ini.writeString(QStringLiteral("Paths"), QStringLiteral("DefaultDir"),
                         QDir::toNativeSeparators(QFileInfo(demoFolder).absoluteFilePath())))
        return false;
    return ini.save();
}
