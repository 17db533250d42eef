#pragma once

#include "transfer/copyengine.h"

#include <QList>
#include <QString>
#include <cstdint>

// What a copy will do, worked out before anything is written: every entry below the source
// (folders before their contents) with the totals, and the checks that refuse a copy.

struct CopyPlanItem {
    QString relative; // path below the source, '/'-separated
    FileEntry entry;
};

struct CopyPlan {
    QList<CopyPlanItem> items;
    int files = 0;
    std::int64_t bytes = 0;
    QList<CopyFailure> unreadable; // folders that could not be listed
};

// `folder` + "/" + `relative` (just `folder` for an empty relative path).
QString JoinCopyPath(const QString& folder, const QString& relative);
// The path without trailing separators ("/" stays "/").
QString WithoutTrailingSeparator(const QString& path);

// Lists the source recursively, never following links. Temporary files of an interrupted
// copy are left out. Stops early (returning false) when `cancelled` says so.
bool ScanCopySource(CopyFileLayer& files, const QString& source, CopyPlan& plan,
                    CopyObserver& observer);

// The refusal text when `destination` is `source` or lies inside it; empty otherwise.
QString NestingRefusal(CopyFileLayer& files, const QString& source, const QString& destination);

// The bytes the copy adds to the destination: new files whole, replaced files by their
// growth (files that shrink free nothing until the copy ends).
std::int64_t BytesAdded(CopyFileLayer& files, const CopyPlan& plan, const QString& destination);

// The refusal text when the bytes added do not fit in the destination's free space; empty
// when they fit or the free space cannot be read.
QString SpaceRefusal(CopyFileLayer& files, const CopyPlan& plan, const QString& destination);

// The nearest folder of `path` or above it that exists.
QString NearestExistingFolder(CopyFileLayer& files, const QString& path);
