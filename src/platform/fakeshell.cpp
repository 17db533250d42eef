#include "platform/fakeshell.h"

void FakeShell::openDocument(const QString& pathOrUrl) {
    m_openedDocuments.append(pathOrUrl);
}

void FakeShell::showFolder(const QString& folder) {
    m_shownFolders.append(folder);
}
