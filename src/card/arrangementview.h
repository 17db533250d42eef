#pragma once

#include "card/arrangefile.h"
#include "card/patternfile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

class SOV_Info;

// What the "Arrangements" page shows for one arrangement of the current song.
struct ArrangementView {
    static constexpr int Rows = 50;
    static constexpr int Columns = 7;
    static constexpr int BlankDrumKitItem = 14;

    // False for no songs or a MICRO BR song: the body is blank, the time empty, and the
    // tab captions and drum kit box keep what they show.
    bool shown = false;
    QStringList captions;    // five, "S01 - name" ...; empty when not shown
    int drumKitItem = -1;    // 0 to 14; -1 when not shown
    QList<QStringList> rows; // 50 rows of 7 cell texts
    QString timeText;        // "  n/a", "  0:16", "  1:05:09"; empty when not shown
};

// The view of arrangement `arrangement` (0 to 4). `blank` when the catalogue is empty or
// the current song is a MICRO BR song.
ArrangementView ShowArrangement(const ArrangeImage& arrange, const PatternImage& patterns,
                                int arrangement, bool blank);
// The same for the current song of `info`.
ArrangementView ShowArrangement(const SOV_Info& info, int arrangement);
bool ArrangementViewBlank(const SOV_Info& info);

// The caption tab `a` has before any song is shown: "S01" ... "S05".
QString DefaultArrangementCaption(int a);
// The time of a finished arrangement: "  m:ss" or "  h:mm:ss", rounded to the second.
QString ArrangementTimeText(std::int64_t totalMs);
// A tempo in tenths as shown: 1200 -> "120.0", 5 -> ".5".
QString TempoText(int tenths);
// The milliseconds `measures` measures of `beats` beats take at `tempoTenths`; 0 at tempo 0.
std::int64_t StepMilliseconds(int measures, int beats, int tempoTenths);

// The whole grid: two heading rows, then the 50 body rows.
QList<QStringList> ArrangementGrid(const ArrangementView& view);
// What "Copy Arrangement to Clipboard" copies: the grid from row 0 as tab-separated text.
QString ArrangementClipboardText(const ArrangementView& view);
