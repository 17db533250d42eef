#include "app/core/localpages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr int kSourceTreeLevels = 4;

QString PageIn(const QString& folder) {
    const QString page = QDir(folder).filePath(QStringLiteral("index.html"));
    return QFileInfo(page).isFile() ? QDir::cleanPath(page) : QString();
}

} // namespace

QString FindLocalPage(const QString& programFolder, const QString& folder) {
    const QString installed =
        QDir(programFolder).filePath(QStringLiteral("../share/sorvane/") + folder);
    QString page = PageIn(installed);
    if (!page.isEmpty()) {
        return page;
    }
    page =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("sorvane/") + folder + QStringLiteral("/index.html"));
    if (!page.isEmpty()) {
        return page;
    }
    QDir dir(programFolder);
    for (int level = 0; level <= kSourceTreeLevels; ++level) {
        page = PageIn(dir.filePath(QStringLiteral("docs/") + folder));
        if (!page.isEmpty()) {
            return page;
        }
        if (!dir.cdUp()) {
            break;
        }
    }
    return QDir::cleanPath(installed + QStringLiteral("/index.html"));
}

QString HelpPagePath() {
    return FindLocalPage(QCoreApplication::applicationDirPath(), QStringLiteral("help"));
}

QString HomePagePath() {
    return FindLocalPage(QCoreApplication::applicationDirPath(), QStringLiteral("home"));
}
