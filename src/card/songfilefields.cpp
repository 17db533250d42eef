// Field accessors of the arrangement, pattern and effect images. Every read goes through
// ByteCursor, so no index or offset can reach outside an image.
#include "card/arrangefile.h"
#include "card/bytecursor.h"
#include "card/effectsfile.h"
#include "card/patternfile.h"

namespace {

bool InRange(int index, int count) {
    return index >= 0 && index < count;
}

} // namespace

QString ArrangeImage::name(int a) const {
    if (!InRange(a, Arrangements))
        return {};
    ByteCursor cursor(bytes, EntriesOffset + static_cast<std::size_t>(a) * EntrySize);
    return cursor.text(NameWidth);
}

std::uint8_t ArrangeImage::drumKitBank(int a) const {
    if (!InRange(a, Arrangements))
        return 0;
    return ByteCursor(bytes, EntriesOffset + static_cast<std::size_t>(a) * EntrySize + KitBankByte)
        .u8();
}

std::uint8_t ArrangeImage::drumKitNumber(int a) const {
    if (!InRange(a, Arrangements))
        return 0;
    return ByteCursor(bytes,
                      EntriesOffset + static_cast<std::size_t>(a) * EntrySize + KitNumberByte)
        .u8();
}

ArrangeStep ArrangeImage::step(int a, int s) const {
    if (!InRange(a, Arrangements) || !InRange(s, Steps))
        return {};
    ByteCursor cursor(bytes, StepsOffset + static_cast<std::size_t>(a) * StepListSize +
                                 static_cast<std::size_t>(s) * StepSize);
    ArrangeStep step;
    step.start = cursor.u16le();
    step.tempo = static_cast<std::int16_t>(cursor.u16le());
    step.timeSignature = cursor.u8();
    step.source = cursor.u8();
    step.pattern = cursor.u16le();
    step.length = cursor.u8();
    return step;
}

QString PatternImage::name(int p) const {
    if (!InRange(p, Records))
        return {};
    return ByteCursor(bytes, RecordsOffset + static_cast<std::size_t>(p) * RecordSize)
        .text(NameWidth);
}

std::uint8_t PatternImage::timeSignature(int p) const {
    if (!InRange(p, Records))
        return 0;
    return ByteCursor(bytes,
                      RecordsOffset + static_cast<std::size_t>(p) * RecordSize + TimeSignatureByte)
        .u8();
}

std::uint16_t PatternImage::length(int p) const {
    if (!InRange(p, Records))
        return 0;
    return ByteCursor(bytes, RecordsOffset + static_cast<std::size_t>(p) * RecordSize + LengthByte)
        .u16le();
}

namespace {

// Offset of a patch record, or nothing when the bank or patch is outside the table.
bool PatchOffset(int bank, int patch, std::size_t& offset) {
    if (!InRange(bank, static_cast<int>(EffectBanks.size())))
        return false;
    const EffectBank& b = EffectBanks[static_cast<std::size_t>(bank)];
    if (!InRange(patch, b.patches))
        return false;
    offset = b.offset + static_cast<std::size_t>(patch) * b.recordSize;
    return true;
}

} // namespace

QString EffectsImage::patchName(int bank, int patch) const {
    std::size_t offset = 0;
    if (!PatchOffset(bank, patch, offset))
        return {};
    return ByteCursor(bytes, offset).text(NameWidth);
}

std::uint8_t EffectsImage::algorithm(int bank, int patch) const {
    std::size_t offset = 0;
    if (!PatchOffset(bank, patch, offset))
        return 0;
    return ByteCursor(bytes, offset + AlgorithmByte).u8();
}
