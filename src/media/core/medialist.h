#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

// The six media lists of a card root: which folder each tab lists, the rows and status
// text of each list, and the names the player strip recognises.

constexpr int MediaTabCount = 6;

enum MediaTab : int {
    MediaTabSMF = 0,
    MediaTabToneLoad = 1,
    MediaTabUSB = 2,
    MediaTabMP3 = 3,
    MediaTabWAV = 4,
    MediaTabSketch = 5,
};

// "SMF", "Tone Load", "USB", "MP3", "WAV", "Sketch".
QString MediaTabCaption(int tab);
// The tab's folder below the card root: "ROLAND/SMF", "ROLAND/TONELOAD", "ROLAND/USB",
// "MP3", "WAV", "ROLAND/SKETCH".
QString MediaTabFolder(int tab);
// The six folders above, in tab order.
QStringList MediaTabFolders();
// The tab's folder below `rootPath`, each component matched without regard to letter case.
QString MediaFolderPath(const QString& rootPath, int tab);

// One listed entry: a file, or a subfolder with size 0.
struct MediaEntry {
    QString name;
    std::int64_t size = 0;
};

// The entries of a folder: regular files and subfolders; hidden entries (a leading '.'),
// "." and "..", and anything else (devices, pipes, sockets, dangling links) are left out.
// Sorted as the desktop's file manager sorts them: by the locale's collation, ignoring
// case. A missing or unreadable folder gives no entries.
std::vector<MediaEntry> ListMediaFolder(const QString& folder);

// What one media list shows: its data rows (name, size text), in order, and its status.
struct MediaListContent {
    QList<QStringList> rows;
    int count = 0;
    std::uint64_t total = 0;
    QString statusText;
};

// " %d File%s     Total Size: %s": the count, "" for one entry else "s", and the total as
// kilobytes.
QString MediaStatusText(int count, std::uint64_t total);
// The list of one folder as a media grid shows it.
MediaListContent MediaListOf(const std::vector<MediaEntry>& entries);
// The list of tab `tab` of the card root `rootPath`.
MediaListContent FillMediaListContent(const QString& rootPath, int tab);
// All six lists in tab order; every list is empty (and its status text "") when the root
// holds no recorder songs.
std::array<MediaListContent, MediaTabCount> RefreshMediaListContents(const QString& rootPath,
                                                                     bool hasSongs);

// The heading row of a media grid: "Filename", "Size".
QStringList MediaListHeadings();
