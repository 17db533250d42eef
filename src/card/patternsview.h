#pragma once

#include "card/patternfile.h"

#include <QList>
#include <QStringList>

class SOV_Info;

// What the "Patterns" page shows: the 100 song patterns of the current song.
struct PatternsView {
    static constexpr int Rows = 100;
    static constexpr int Columns = 4;

    bool shown = false;      // false for no songs or a MICRO BR song: blank rows
    QList<QStringList> rows; // 100 rows of 4 cell texts
};

// `blank` when the catalogue is empty or the current song is a MICRO BR song.
PatternsView ShowPatterns(const PatternImage& patterns, bool blank);
PatternsView ShowPatterns(const SOV_Info& info);

// The whole grid: two heading rows, then the 100 body rows.
QList<QStringList> PatternsGrid(const PatternsView& view);
