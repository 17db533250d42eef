#pragma once

#include <QList>
#include <QStringList>
#include <array>
#include <span>

// Column formats of the song-details grids: two heading lines, a width in pixels and an
// alignment per column. Shared by the window's grids and the command-line companion.

enum ColumnAlignment : int { ColumnLeft = 0, ColumnRight = 1, ColumnCentred = 2 };

struct ColumnFormat {
    const char* heading1; // heading row 0
    const char* heading2; // heading row 1, used only by grids with two fixed rows
    int width;            // pixels; 0 leaves the column's headings and width alone
    int alignment;        // ColumnAlignment: 0 left, 1 right, anything else centred
};

// The arrangement grid (2 fixed rows).
inline constexpr std::array<ColumnFormat, 7> ArrangeColumns{{
    {"", "Step", 30, ColumnCentred},
    {"Starting", "Measure", 50, ColumnCentred},
    {"Step", "Length", 42, ColumnCentred},
    {"", "Pattern", 122, ColumnLeft},
    {"Pattern", "Length", 44, ColumnCentred},
    {"", "Tempo", 42, ColumnCentred},
    {"Time", "Signature", 54, ColumnCentred},
}};
inline constexpr int ArrangeFixedRows = 2;

// The pattern grid (2 fixed rows).
inline constexpr std::array<ColumnFormat, 4> PatternColumns{{
    {"", "Pattern", 52, ColumnCentred},
    {"", "Name", 80, ColumnLeft},
    {"", "Length", 44, ColumnCentred},
    {"Time", "Signature", 56, ColumnCentred},
}};
inline constexpr int PatternFixedRows = 2;

// The effect grids (1 fixed row). The fourth descriptor belongs to the table but the grids
// show only the first three columns.
inline constexpr std::array<ColumnFormat, 4> EffectColumns{{
    {"Patch", "", 70, ColumnCentred},
    {"Name", "", 80, ColumnLeft},
    {"Algorithm", "", 120, ColumnLeft},
    {"", "", 30, ColumnCentred},
}};
inline constexpr int EffectFixedRows = 1;
inline constexpr int EffectShownColumns = 3;

// The heading rows a grid of `columnCount` columns gets from `formats` with `fixedRows`
// fixed rows (1 or 2): row 0 holds heading1, row 1 heading2. Columns beyond the table, or
// whose width is 0, get empty headings.
QList<QStringList> GridHeadingRows(std::span<const ColumnFormat> formats, int columnCount,
                                   int fixedRows);
