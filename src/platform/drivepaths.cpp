#include "platform/drivepaths.h"

#include <QDir>
#include <QFileInfo>

QString RealFolderPath(const QString& path) {
    QString absolute = QDir::cleanPath(QDir(QDir::currentPath()).absoluteFilePath(path));
    QString rest;
    // Walk up to the nearest ancestor that exists; "/" always does.
    while (true) {
        const QString real = QFileInfo(absolute).canonicalFilePath();
        if (!real.isEmpty())
            return QDir::cleanPath(rest.isEmpty() ? real : real + u'/' + rest);
        const qsizetype slash = absolute.lastIndexOf(u'/');
        if (slash < 0)
            return QDir::cleanPath(path);
        const QString name = absolute.mid(slash + 1);
        rest = rest.isEmpty() ? name : name + u'/' + rest;
        absolute = slash == 0 ? QStringLiteral("/") : absolute.left(slash);
    }
}

qsizetype RootCoverLength(const QString& path, const QString& root) {
    if (root.isEmpty() || !root.endsWith(u'/'))
        return -1;
    if (path.startsWith(root))
        return root.size();
    // The root itself, written without its trailing '/'.
    if (path.size() == root.size() - 1 && root.startsWith(path))
        return root.size();
    return -1;
}

QChar DriveLetterOf(QChar letter) {
    const QChar upper = letter.toUpper();
    if (upper >= u'A' && upper <= u'Z')
        return upper;
    return QChar();
}
