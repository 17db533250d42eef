#include "app/shortenpath.h"

#include <QDir>
#include <QFontMetrics>
#include <QStringList>

namespace {

// The length of a path's root: 1 for "/home/x", 3 for "C:\Songs", 0 for a relative path.
qsizetype RootLength(const QString& path, QChar separator) {
    const qsizetype first = path.indexOf(separator);
    if (first < 0) {
        return 0;
    }
    if (first == 0) {
        return 1;
    }
    // "C:\..." : a drive followed by its separator.
    if (first == 2 && path.at(1) == u':') {
        return 3;
    }
    return 0;
}

} // namespace

QString ShortenPath(const QString& path, const QFontMetrics& metrics, int maxWidth) {
    if (metrics.horizontalAdvance(path) <= maxWidth) {
        return path;
    }
    const QChar separator = QDir::separator();
    const qsizetype rootLength = RootLength(path, separator);
    const QString root = path.left(rootLength);
    QString rest = path.mid(rootLength);
    const bool trailing = rest.endsWith(separator);
    if (trailing) {
        rest.chop(1);
    }
    QStringList parts = rest.split(separator);
    if (parts.size() < 2) {
        return path;
    }
    const QString last = parts.takeLast() + (trailing ? QString(separator) : QString());
    const QString ellipsis = root + QStringLiteral("...") + separator;
    // Drop the leading folders one by one; the shortest form keeps only the last name.
    while (!parts.isEmpty()) {
        parts.removeFirst();
        QStringList kept = parts;
        kept.append(last);
        const QString candidate = ellipsis + kept.join(separator);
        if (metrics.horizontalAdvance(candidate) <= maxWidth || parts.isEmpty()) {
            return candidate;
        }
    }
    return ellipsis + last;
}
