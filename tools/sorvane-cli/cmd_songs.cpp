// sorvane-cli songs FOLDER: prints the song list of a card root exactly as the window's
// "Copy Song List to Clipboard" puts it on the clipboard.

#include "command.h"

#include "card/cardpath.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"

#include <QFileInfo>
#include <vector>

namespace {

// The song list grid has this many rows until a folder with songs resizes it.
constexpr int InitialSongListRows = 10;

int runSongs(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1 || args.front().isEmpty()) {
        err << "sorvane-cli songs: expected exactly one FOLDER\n";
        PrintCliUsage(err);
        return 2;
    }
    const QString folder = args.front();
    const QFileInfo info(folder);
    if (NameUnreadableAsUtf8(folder)) {
        err << "sorvane-cli songs: " << UnreadableNameText(folder) << '\n';
        return 1;
    }
    if (!info.exists()) {
        err << "sorvane-cli songs: folder \"" << folder << "\" does not exist\n";
        return 1;
    }
    if (!info.isDir()) {
        err << "sorvane-cli songs: \"" << folder << "\" is not a folder\n";
        return 1;
    }

    SOV_Info card;
    card.LoadFolder(folder);
    // As the window fills its list: rows for the songs, else the blank grid it started with.
    const std::vector<SongListItem> noSongs;
    const bool filled = card.hasSongs() && !card.songs().empty();
    const std::vector<SongListItem>& songs = filled ? card.songs() : noSongs;
    const int rows = filled ? static_cast<int>(songs.size()) + 1 : InitialSongListRows;
    out << SongListClipboardText(songs, rows);
    return 0;
}

} // namespace

static const bool registered = RegisterCliCommand(
    {"songs", "FOLDER", &runSongs,
     "Prints the song list of a card root as \"Copy Song List to Clipboard\" copies it.", true});
