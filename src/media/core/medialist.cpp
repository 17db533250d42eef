#include "media/core/medialist.h"

#include "card/cardpath.h"
#include "transfer/sizetext.h"

#include <QCollator>
#include <QFile>
#include <QLocale>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

const char* const Captions[MediaTabCount] = {"SMF", "Tone Load", "USB", "MP3", "WAV", "Sketch"};
const char* const Folders[MediaTabCount] = {"ROLAND/SMF", "ROLAND/TONELOAD", "ROLAND/USB", "MP3",
                                            "WAV",        "ROLAND/SKETCH"};

bool ValidTab(int tab) {
    return tab >= 0 && tab < MediaTabCount;
}

// One entry of a folder walk, or nothing for entries that are not listed.
bool ReadEntry(const std::filesystem::directory_entry& entry, MediaEntry& out) {
    const QString name = QFile::decodeName(entry.path().filename().native().c_str());
    if (name.isEmpty() || name.startsWith(u'.'))
        return false;
    std::error_code ec;
    const std::filesystem::file_status status = entry.status(ec); // follows links
    if (ec)
        return false;
    if (std::filesystem::is_directory(status)) {
        out = {name, 0};
        return true;
    }
    if (!std::filesystem::is_regular_file(status))
        return false;
    const std::uintmax_t size = entry.file_size(ec);
    if (ec)
        return false;
    out = {name, static_cast<std::int64_t>(size)};
    return true;
}

// Names in the file manager's order: the locale's collation ignoring case, then the plain
// case-insensitive order, then the exact text, so that the order never depends on the walk.
void SortEntries(std::vector<MediaEntry>& entries) {
    const QLocale locale;
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage) {
        // No collation to follow: letters in code order, ignoring case.
        std::sort(entries.begin(), entries.end(), [](const MediaEntry& a, const MediaEntry& b) {
            if (const int c = QString::compare(a.name, b.name, Qt::CaseInsensitive); c != 0)
                return c < 0;
            return a.name < b.name;
        });
        return;
    }
    QCollator collator{locale};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    struct Keyed {
        QCollatorSortKey key;
        std::size_t index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        keyed.push_back({collator.sortKey(entries[i].name), i});
    std::sort(keyed.begin(), keyed.end(), [&entries](const Keyed& a, const Keyed& b) {
        if (const int c = a.key.compare(b.key); c != 0)
            return c < 0;
        const QString& x = entries[a.index].name;
        const QString& y = entries[b.index].name;
        if (const int c = QString::compare(x, y, Qt::CaseInsensitive); c != 0)
            return c < 0;
        return x < y;
    });
    std::vector<MediaEntry> sorted;
    sorted.reserve(entries.size());
    for (const Keyed& k : keyed)
        sorted.push_back(std::move(entries[k.index]));
    entries = std::move(sorted);
}

} // namespace

QString MediaTabCaption(int tab) {
    return ValidTab(tab) ? QLatin1String(Captions[tab]) : QString();
}

QString MediaTabFolder(int tab) {
    return ValidTab(tab) ? QLatin1String(Folders[tab]) : QString();
}

QStringList MediaTabFolders() {
    QStringList folders;
    for (int tab = 0; tab < MediaTabCount; ++tab)
        folders.append(MediaTabFolder(tab));
    return folders;
}

QString MediaFolderPath(const QString& rootPath, int tab) {
    return ResolveCardPath(rootPath, MediaTabFolder(tab));
}

std::vector<MediaEntry> ListMediaFolder(const QString& folder) {
    std::vector<MediaEntry> entries;
    std::error_code ec;
    std::filesystem::directory_iterator it(QFile::encodeName(folder).toStdString(), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        MediaEntry entry;
        if (ReadEntry(*it, entry))
            entries.push_back(std::move(entry));
    }
    SortEntries(entries);
    return entries;
}

QString MediaStatusText(int count, std::uint64_t total) {
    return u' ' + QString::number(count) + u" File" +
           (count == 1 ? QString() : QStringLiteral("s")) + u"     Total Size: " +
           FormatSizeText(
               static_cast<std::int64_t>(std::min<std::uint64_t>(total, std::uint64_t(INT64_MAX))),
               SizeUnitKB);
}

MediaListContent MediaListOf(const std::vector<MediaEntry>& entries) {
    MediaListContent list;
    list.rows.reserve(static_cast<qsizetype>(entries.size()));
    for (const MediaEntry& entry : entries) {
        list.rows.append({entry.name, FormatSizeText(entry.size, SizeUnitAuto)});
        list.total += static_cast<std::uint64_t>(std::max<std::int64_t>(entry.size, 0));
    }
    list.count = static_cast<int>(list.rows.size());
    list.statusText = MediaStatusText(list.count, list.total);
    return list;
}

MediaListContent FillMediaListContent(const QString& rootPath, int tab) {
    if (!ValidTab(tab))
        return MediaListOf({});
    return MediaListOf(ListMediaFolder(MediaFolderPath(rootPath, tab)));
}

std::array<MediaListContent, MediaTabCount> RefreshMediaListContents(const QString& rootPath,
                                                                     bool hasSongs) {
    std::array<MediaListContent, MediaTabCount> lists;
    if (!hasSongs)
        return lists;
    for (int tab = 0; tab < MediaTabCount; ++tab)
        lists[static_cast<std::size_t>(tab)] = FillMediaListContent(rootPath, tab);
    return lists;
}

QStringList MediaListHeadings() {
    return {QStringLiteral("Filename"), QStringLiteral("Size")};
}
