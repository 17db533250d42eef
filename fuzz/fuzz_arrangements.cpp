// Arrangements: arrange2.br0 (the input's first 3144 bytes) with pattern.br0 (the rest), every
// arrangement shown, as the grid and as the clipboard text.

#include "card/arrangefile.h"
#include "card/arrangementview.h"
#include "card/patternfile.h"
#include "card/songlisttext.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ArrangeImage arrange;
    static PatternImage patterns;
    FillImage(arrange, data, size);
    const std::size_t split = std::min(size, ArrangeImage::Size);
    FillImage(patterns, data + split, size - split);
    for (int a = 0; a < ArrangeImage::Arrangements; ++a) {
        for (const bool blank : {false, true}) {
            const ArrangementView view = ShowArrangement(arrange, patterns, a, blank);
            const QList<QStringList> grid = ArrangementGrid(view);
            Require(!grid.isEmpty());
            const QString text = ArrangementClipboardText(view);
            Require(text.endsWith(QStringLiteral("\r\n")));
            Require(GridToText(grid, 0).size() > 0);
        }
    }
    return 0;
}
