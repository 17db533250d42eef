#include "card/effectsview.h"

#include "card/gridcolumns.h"
#include "card/sovinfo.h"
#include "card/vocabulary.h"
#include "transfer/sizetext.h"

#include <QLatin1String>

EffectsView ShowEffects(const EffectsImage& effects, bool blank) {
    EffectsView view;
    view.shown = !blank;
    for (std::size_t b = 0; b < EffectBanks.size(); ++b) {
        const EffectBank& bank = EffectBanks[b];
        EffectsBankView& out = view.banks[b];
        out.caption = QLatin1String(bank.caption);
        const int bankIndex = static_cast<int>(b);
        for (int i = 0; i < bank.patches; ++i) {
            if (blank) {
                out.rows.append({QString(), QString(), QString()});
                continue;
            }
            out.rows.append({QLatin1String(bank.rowPrefix) + u'S' + ZeroPadded(i + 1, 3),
                             effects.patchName(bankIndex, i),
                             AlgorithmName(effects.algorithm(bankIndex, i))});
        }
    }
    return view;
}

EffectsView ShowEffects(const SOV_Info& info) {
    const SongListItem* song = info.currentSong();
    const bool blank = info.songs().empty() || song == nullptr || song->isMicroBR ||
                       song->isBR532 || !info.effectsLoaded();
    return ShowEffects(info.effectsData(), blank);
}

QList<QStringList> EffectsGrid(const EffectsBankView& bank) {
    QList<QStringList> grid = GridHeadingRows(EffectColumns, EffectsView::Columns, EffectFixedRows);
    grid.append(bank.rows);
    return grid;
}
