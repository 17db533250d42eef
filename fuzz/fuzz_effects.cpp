// Effect patches: effects2.br0 from any bytes, every bank as its grid and text.

#include "card/effectsfile.h"
#include "card/effectsview.h"
#include "card/songlisttext.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static EffectsImage effects;
    FillImage(effects, data, size);
    for (const bool blank : {false, true}) {
        const EffectsView view = ShowEffects(effects, blank);
        for (const EffectsBankView& bank : view.banks) {
            const QList<QStringList> grid = EffectsGrid(bank);
            Require(!grid.isEmpty());
            Require(
                EveryRowHasTabs(GridToText(grid, 0), static_cast<int>(grid.front().size()) - 1));
        }
    }
    return 0;
}
