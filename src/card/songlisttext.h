#pragma once

#include "card/songlistitem.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// The texts of the song list, shared by the window and the command-line companion.

// A cell's text as it goes into a tab-separated text: control characters (a CR, LF or tab
// from a damaged record among them) become spaces, so that a cell never splits a row.
QString CellText(const QString& text);

// The six headings: "Song", "Name", "Size", "Data Type", "Protected", "Created with".
QStringList SongListHeadings();

// The six cell texts of a song's row.
QStringList SongListRow(const SongListItem& song);

// " %d Song%s     Total Size: %s" for the songs; empty for no songs.
QString SongListStatusText(const std::vector<SongListItem>& songs);

// A table of cell texts (rows of columns) as the clipboard takes it: from `firstRow` to the
// last row that is not entirely blank (row 0 is never dropped), cells (as CellText) separated
// by tabs, each row ended by CR LF, then one more CR LF.
QString GridToText(const QList<QStringList>& rows, int firstRow);

// What "Copy Song List to Clipboard" copies: the grid (heading row plus `rowCount` - 1 data
// rows, blank beyond the songs) from row 0, the status text, then CR LF CR LF.
QString SongListClipboardText(const std::vector<SongListItem>& songs, int rowCount);
