#include "card/arrangefile.h"
#include "card/cardpath.h"
#include "card/effectsfile.h"
#include "card/fileimage.h"
#include "card/patternfile.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

void LoadArrangements(ArrangeImage& image, const QString& songPath, bool haveSongs) {
    std::fill(image.bytes.begin(), image.bytes.end(), std::uint8_t{0});
    for (int s = 0; s < ArrangeImage::Arrangements * ArrangeImage::Steps; ++s) {
        const std::size_t at = ArrangeImage::StepsOffset + s * ArrangeImage::StepSize;
        image.bytes[at] = 0xFF;
        image.bytes[at + 1] = 0xFF;
    }
    if (!haveSongs)
        return;
    std::vector<std::uint8_t> file(ArrangeImage::Size);
    const qint64 got =
        ReadFileImage(ResolveCardPath(songPath, QStringLiteral("arrange2.br0")), file);
    if (got <= 0)
        return;
    std::copy_n(file.begin(), static_cast<std::size_t>(got), image.bytes.begin());
}

void LoadPatterns(PatternImage& image, const QString& songPath, bool haveSongs) {
    if (!haveSongs)
        return;
    ReadFileImage(ResolveCardPath(songPath, QStringLiteral("pattern.br0")), image.bytes);
}

bool LoadEffects(EffectsImage& image, const QString& songPath, bool haveSongs) {
    if (!haveSongs)
        return false;
    const QString path = ResolveCardPath(songPath, QStringLiteral("effects2.br0"));
    if (!QFileInfo(path).isFile())
        return false;
    return ReadFileImage(path, image.bytes) >= 0;
}
