#include "platform/gui/desktopshell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>

QUrl DesktopShell::documentUrl(const QString& pathOrUrl) {
    // Only the usual web and file addresses count as addresses: a relative file name such
    // as "take:2.mp3" or "C:/x" would otherwise read as one with a scheme.
    static const QStringList kSchemes{QStringLiteral("http"), QStringLiteral("https"),
                                      QStringLiteral("file"), QStringLiteral("mailto"),
                                      QStringLiteral("ftp")};
    const QUrl url(pathOrUrl, QUrl::StrictMode);
    if (url.isValid() && kSchemes.contains(url.scheme(), Qt::CaseInsensitive)) {
        return url;
    }
    return QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath());
}

void DesktopShell::openDocument(const QString& pathOrUrl) {
    if (pathOrUrl.isEmpty()) {
        return;
    }
    QDesktopServices::openUrl(documentUrl(pathOrUrl));
}

void DesktopShell::showFolder(const QString& folder) {
    if (folder.isEmpty()) {
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(folder).absoluteFilePath()));
}
