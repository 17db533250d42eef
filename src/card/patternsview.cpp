#include "card/patternsview.h"

#include "card/gridcolumns.h"
#include "card/sovinfo.h"
#include "card/vocabulary.h"
#include "transfer/sizetext.h"

PatternsView ShowPatterns(const PatternImage& patterns, bool blank) {
    PatternsView view;
    view.shown = !blank;
    for (int p = 0; p < PatternsView::Rows; ++p) {
        if (blank) {
            view.rows.append({QString(), QString(), QString(), QString()});
            continue;
        }
        view.rows.append({u'S' + ZeroPadded(p + 1, 3), patterns.name(p),
                          QString::number(patterns.length(p)),
                          TimeSignatureText(patterns.timeSignature(p))});
    }
    return view;
}

PatternsView ShowPatterns(const SOV_Info& info) {
    const SongListItem* song = info.currentSong();
    const bool blank = info.songs().empty() || song == nullptr || song->isMicroBR;
    return ShowPatterns(info.patternData(), blank);
}

QList<QStringList> PatternsGrid(const PatternsView& view) {
    QList<QStringList> grid =
        GridHeadingRows(PatternColumns, PatternsView::Columns, PatternFixedRows);
    grid.append(view.rows);
    return grid;
}
