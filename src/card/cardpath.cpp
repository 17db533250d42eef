#include "card/cardpath.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

QChar AsciiLower(QChar c) {
    return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
}

QString Join(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

// One look at the path, following links as QFileInfo::exists does: this runs for every file
// of every song at each folder load.
bool Exists(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
#else
    return QFileInfo::exists(path);
#endif
}

QString ResolveComponent(const QString& folder, const QString& name) {
    const QString exact = Join(folder, name);
    if (name == u"." || name == u".." || Exists(exact))
        return exact;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (EqualsIgnoringAsciiCase(entry, name))
            return Join(folder, entry);
    }
    return exact;
}

} // namespace

bool EqualsIgnoringAsciiCase(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

QString ResolveCardPath(const QString& base, const QString& relative) {
    QString path = QDir::fromNativeSeparators(base);
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    if (path.isEmpty())
        path = QStringLiteral(".");
    QString rel = relative;
    rel.replace(u'\\', u'/');
    const QStringList parts = rel.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QDir::fromNativeSeparators(base);
    for (const QString& part : parts)
        path = ResolveComponent(path, part);
    return path;
}

QString WithTrailingSeparator(const QString& folder) {
    QString out = QDir::fromNativeSeparators(folder);
    if (!out.endsWith(u'/'))
        out.append(u'/');
    return out;
}

bool MatchesSongPattern(const QString& name) {
    if (name.size() < 8)
        return false;
    return EqualsIgnoringAsciiCase(name.left(4), QStringLiteral("SONG")) &&
           EqualsIgnoringAsciiCase(name.right(4), QStringLiteral(".BR0"));
}

bool NameUnreadableAsUtf8(const QString& path) {
    return path.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(path) &&
           !QFileInfo(path).isSymLink();
}

QString UnreadableNameText(const QString& path) {
    return QStringLiteral("The name of the folder \"") + QDir::toNativeSeparators(path) +
           QStringLiteral("\" cannot be read as UTF-8.");
}
