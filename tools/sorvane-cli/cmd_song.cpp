// sorvane-cli song FOLDER SONGID: the details of one song as the song-details pages show
// them: name, title and notes, track usage, the five arrangements (each followed by what
// "Copy Arrangement to Clipboard" copies), the patterns and the five effect banks.

#include "command.h"

#include "card/arrangementview.h"
#include "card/cardpath.h"
#include "card/effectsview.h"
#include "card/patternsview.h"
#include "card/songlisttext.h"
#include "card/songtitle.h"
#include "card/sovinfo.h"
#include "card/trackusage.h"
#include "card/vocabulary.h"
#include "transfer/sizetext.h"

#include <QFileInfo>

namespace {

// The notes as one text: a list of lines would cost far more than the file.
void PrintNotes(const QString& songPath, QTextStream& out) {
    const QString text = LoadSongNotesText(songPath);
    if (!text.isEmpty()) {
        out << "Notes lines: " << text.count(u'\n') + 1 << '\n' << text << '\n';
        return;
    }
    // No text: no lines, or a single empty one.
    const QStringList notes = LoadSongNotes(songPath);
    out << "Notes lines: " << notes.size() << '\n';
    for (const QString& line : notes)
        out << line << '\n';
}

void PrintSongInfo(const SOV_Info& info, const SongListItem& song, QTextStream& out) {
    out << "[Song]\n";
    out << "Id: " << song.songId << '\n';
    out << "Name: " << CellText(TrimBlanks(song.name)) << '\n';
    out << "Title: " << CellText(ReadSongTitle(info.songPath())) << '\n';
    PrintNotes(info.songPath(), out);
}

void PrintTrackUsage(const QString& folder, const SongListItem& song, QTextStream& out) {
    const TrackUsage usage = LoadTrackUsage(TakeEvtFile(folder, song.songId));
    QList<QStringList> grid = TrackUsageGridTexts();
    for (int t = 0; t < TrackUsage::Tracks; ++t) {
        for (int v = 0; v < TrackUsage::VTracks; ++v) {
            if (usage.isUsed(t, v))
                grid[v + 1][t + 1] = QStringLiteral("X");
        }
    }
    out << "[Track Usage]\n" << GridToText(grid, 0);
}

void PrintArrangements(const SOV_Info& info, const SongListItem& song, QTextStream& out) {
    for (int a = 0; a < ArrangeImage::Arrangements; ++a) {
        const ArrangementView view = ShowArrangement(info, a);
        const QString caption = view.shown ? view.captions[a] : DefaultArrangementCaption(a);
        // Songs without drum kits show the blank item, whatever the view holds.
        const int kit = (song.isMicroBR || song.isBR532 || !view.shown)
                            ? ArrangementView::BlankDrumKitItem
                            : view.drumKitItem;
        out << "[Arrangement " << (a + 1) << "]\n";
        out << "Caption: " << CellText(caption) << '\n';
        out << "Drum Kit: " << DrumKitText(kit) << '\n';
        out << "Time: " << view.timeText << '\n';
        out << ArrangementClipboardText(view);
    }
}

void PrintPatternsAndEffects(const SOV_Info& info, QTextStream& out) {
    out << "[Patterns]\n" << GridToText(PatternsGrid(ShowPatterns(info)), 0);
    const EffectsView effects = ShowEffects(info);
    for (const EffectsBankView& bank : effects.banks)
        out << "[Effects " << bank.caption << "]\n" << GridToText(EffectsGrid(bank), 0);
}

int runSong(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 2) {
        PrintCliUsage(err);
        return 2;
    }
    const QString& folder = args[0];
    if (NameUnreadableAsUtf8(folder)) {
        err << "sorvane-cli: " << UnreadableNameText(folder) << '\n';
        return 1;
    }
    if (!QFileInfo(folder).isDir()) {
        err << "sorvane-cli: no folder \"" << folder << "\"\n";
        return 1;
    }
    SOV_Info info;
    info.LoadFolder(folder);
    if (!info.hasSongs() || !info.SelectSong(args[1]) || info.currentSong() == nullptr) {
        err << "sorvane-cli: no song \"" << args[1] << "\" in \"" << folder << "\"\n";
        return 1;
    }
    const SongListItem& song = *info.currentSong();
    PrintSongInfo(info, song, out);
    PrintTrackUsage(folder, song, out);
    PrintArrangements(info, song, out);
    PrintPatternsAndEffects(info, out);
    return 0;
}

const bool registered = RegisterCliCommand(
    {"song", "FOLDER SONGID", &runSong,
     "Prints one song's details: name, title, notes, track usage, arrangements, patterns, "
     "effects.",
     true});

} // namespace
