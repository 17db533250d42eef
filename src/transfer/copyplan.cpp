#include "transfer/copyplan.h"

#include "transfer/sizetext.h"

#include <QFileInfo>
#include <algorithm>

QString JoinCopyPath(const QString& folder, const QString& relative) {
    if (relative.isEmpty())
        return folder;
    if (folder.endsWith(u'/'))
        return folder + relative;
    return folder + u'/' + relative;
}

QString WithoutTrailingSeparator(const QString& path) {
    QString out = path;
    while (out.size() > 1 && out.endsWith(u'/'))
        out.chop(1);
    return out;
}

namespace {

bool ScanFolder(CopyFileLayer& files, const QString& source, const QString& relative,
                CopyPlan& plan, CopyObserver& observer) {
    if (observer.cancelRequested())
        return false;
    QList<FileEntry> entries;
    FileFault fault;
    if (!files.listFolder(JoinCopyPath(source, relative), entries, fault)) {
        plan.unreadable.append({JoinCopyPath(source, relative), fault.text});
        return true;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    for (const FileEntry& entry : entries) {
        if (IsCopyTempName(entry.name))
            continue;
        const QString path = relative.isEmpty() ? entry.name : relative + u'/' + entry.name;
        plan.items.append({path, entry});
        if (entry.kind == EntryKind::File) {
            ++plan.files;
            plan.bytes += entry.size;
        } else if (entry.kind == EntryKind::Folder &&
                   !ScanFolder(files, source, path, plan, observer)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ScanCopySource(CopyFileLayer& files, const QString& source, CopyPlan& plan,
                    CopyObserver& observer) {
    plan = CopyPlan();
    return ScanFolder(files, source, QString(), plan, observer);
}

QString NearestExistingFolder(CopyFileLayer& files, const QString& path) {
    QString folder = WithoutTrailingSeparator(path);
    while (files.canonicalPath(folder).isEmpty()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

QString NestingRefusal(CopyFileLayer& files, const QString& source, const QString& destination) {
    const QString from = files.canonicalPath(source);
    const QString existing = NearestExistingFolder(files, destination);
    const QString rest = WithoutTrailingSeparator(destination).mid(existing.size());
    const QString to = WithoutTrailingSeparator(files.canonicalPath(existing) + rest);
    if (from.isEmpty())
        return QString();
    if (to == from)
        return QStringLiteral("The destination folder %1 is the source folder.").arg(destination);
    if (to.startsWith(from == QLatin1String("/") ? from : from + u'/'))
        return QStringLiteral("The destination folder %1 lies inside the source folder %2.")
            .arg(destination, source);
    return QString();
}

std::int64_t BytesAdded(CopyFileLayer& files, const CopyPlan& plan, const QString& destination) {
    std::int64_t added = 0;
    for (const CopyPlanItem& item : plan.items) {
        if (item.entry.kind != EntryKind::File)
            continue;
        const FileEntry target = files.status(JoinCopyPath(destination, item.relative));
        const std::int64_t existing = target.kind == EntryKind::File ? target.size : 0;
        added += std::max<std::int64_t>(0, item.entry.size - existing);
    }
    return added;
}

QString SpaceRefusal(CopyFileLayer& files, const CopyPlan& plan, const QString& destination) {
    const std::int64_t added = BytesAdded(files, plan, destination);
    const std::optional<std::int64_t> free =
        files.freeBytes(NearestExistingFolder(files, destination));
    if (!free || added <= *free)
        return QString();
    return QStringLiteral("Not enough free space in %1: the copy needs %2, but only %3 are free.")
        .arg(destination, FormatSizeText(added, SizeUnitAuto), FormatSizeText(*free, SizeUnitAuto));
}
