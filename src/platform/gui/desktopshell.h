#pragma once

#include "platform/shell.h"

#include <QUrl>

// The shell operations through Qt's desktop services (xdg-open and the desktop's file
// manager): documents and folders are handed over as URLs, never as a command line.
class DesktopShell : public ShellServices {
public:
    void openDocument(const QString& pathOrUrl) override;
    void showFolder(const QString& folder) override;

    // The URL handed to the desktop: an http, https, file, mailto or ftp address as it is,
    // anything else as a local path (relative paths taken from the current folder).
    static QUrl documentUrl(const QString& pathOrUrl);
};
