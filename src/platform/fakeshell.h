#pragma once

#include "platform/shell.h"

#include <QStringList>

// Records the shell calls instead of starting anything; for tests.
class FakeShell : public ShellServices {
public:
    void openDocument(const QString& pathOrUrl) override;
    void showFolder(const QString& folder) override;

    const QStringList& openedDocuments() const { return m_openedDocuments; }
    const QStringList& shownFolders() const { return m_shownFolders; }

private:
    QStringList m_openedDocuments;
    QStringList m_shownFolders;
};
