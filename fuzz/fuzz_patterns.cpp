// Song patterns: pattern.br0 from any bytes, as the grid and its text.

#include "card/patternfile.h"
#include "card/patternsview.h"
#include "card/songlisttext.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static PatternImage patterns;
    FillImage(patterns, data, size);
    const QList<QStringList> grid = PatternsGrid(ShowPatterns(patterns, false));
    Require(!grid.isEmpty());
    const int columns = static_cast<int>(grid.front().size());
    Require(EveryRowHasTabs(GridToText(grid, 0), columns - 1));
    PatternsGrid(ShowPatterns(patterns, true));
    return 0;
}
