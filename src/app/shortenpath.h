#pragma once

#include <QString>

class QFontMetrics;

// Shortens a path for display within maxWidth pixels: the root (or drive) and the last
// folder name stay; the folders between them are replaced by "..." one at a time from the
// root side until the text fits. A path that fits is returned as it is; when even
// "<root>...<sep><last>" is too wide, that shortest form is returned.
QString ShortenPath(const QString& path, const QFontMetrics& metrics, int maxWidth);
