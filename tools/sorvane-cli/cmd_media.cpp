// sorvane-cli media FOLDER: prints the six media lists of a card root as the window fills
// them: for each tab its caption in square brackets, the grid as clipboard text (headings
// first) and the list's status text.

#include "command.h"

#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "media/core/medialist.h"

#include <QFileInfo>
#include <algorithm>

namespace {

// A media grid has this many rows until a folder with songs fills it.
constexpr int InitialMediaRows = 10;

QString MediaTabText(int tab, const MediaListContent& list, bool hasSongs) {
    QList<QStringList> rows;
    rows.append(MediaListHeadings());
    rows.append(list.rows);
    const int rowCount = hasSongs ? std::max(list.count + 1, 2) : InitialMediaRows;
    while (rows.size() < rowCount)
        rows.append(QStringList{QString(), QString()});
    return u'[' + MediaTabCaption(tab) + QStringLiteral("]\n") + GridToText(rows, 0) +
           list.statusText + u'\n';
}

int runMedia(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1 || args.front().isEmpty()) {
        err << "sorvane-cli media: expected exactly one FOLDER\n";
        PrintCliUsage(err);
        return 2;
    }
    const QString folder = args.front();
    const QFileInfo info(folder);
    if (!info.exists()) {
        err << "sorvane-cli media: folder \"" << folder << "\" does not exist\n";
        return 1;
    }
    if (!info.isDir()) {
        err << "sorvane-cli media: \"" << folder << "\" is not a folder\n";
        return 1;
    }
    SOV_Info card;
    card.LoadFolder(folder);
    const auto lists = RefreshMediaListContents(card.rootPath(), card.hasSongs());
    for (int tab = 0; tab < MediaTabCount; ++tab)
        out << MediaTabText(tab, lists[static_cast<std::size_t>(tab)], card.hasSongs());
    return 0;
}

} // namespace

static const bool registered = RegisterCliCommand({"media", "FOLDER", &runMedia});
