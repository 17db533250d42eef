#pragma once

#include <QString>

// The desktop shell's document and folder operations. Both return at once; nothing the
// shell reports is examined by the caller, so a failure to open shows nothing.
class ShellServices {
public:
    virtual ~ShellServices() = default;

    // Opens a document path or a web address ("https://...", "file:///...") with the
    // desktop's default application.
    virtual void openDocument(const QString& pathOrUrl) = 0;
    // Opens a file-manager window on a folder.
    virtual void showFolder(const QString& folder) = 0;
};
