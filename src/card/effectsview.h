#pragma once

#include "card/effectsfile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class SOV_Info;

// One bank's grid body: one row of 3 cell texts per patch.
struct EffectsBankView {
    QString caption; // "GTR", "MIC", "LIN", "SML", "MTK"
    QList<QStringList> rows;
};

// What the "Effects" page shows: five banks in the order GTR, MIC, LIN, SML, MTK.
struct EffectsView {
    static constexpr int Columns = 3;

    bool shown = false; // false: every row blank
    std::array<EffectsBankView, 5> banks;
};

// `blank` when the catalogue is empty, the current song is a MICRO BR or BR-532 song, or
// its effects2.br0 was not loaded.
EffectsView ShowEffects(const EffectsImage& effects, bool blank);
EffectsView ShowEffects(const SOV_Info& info);

// The whole grid of a bank: the heading row, then one row per patch.
QList<QStringList> EffectsGrid(const EffectsBankView& bank);

// Only the name column of an effect grid can be selected.
inline bool EffectsCellSelectable(int column) {
    return column == 1;
}
