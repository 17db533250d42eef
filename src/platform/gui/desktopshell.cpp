#include "platform/gui/desktopshell.h"

#include <QDesktopServices>
#include <QFileInfo>

QUrl DesktopShell::documentUrl(const QString& pathOrUrl) {
    // A scheme of one letter would be a drive letter, not an address.
    const QUrl url(pathOrUrl, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1 && !pathOrUrl.startsWith(u'/')) {
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
