// Standard MIDI files: the event list and tempo map from any bytes.

#include "fuzzinput.h"
#include "media/core/smffile.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SmfFile file;
    if (ReadSmf(std::span<const std::uint8_t>(data, size), file) != SmfError::None)
        return 0;
    std::uint64_t previous = 0;
    for (const SmfEvent& event : file.events) {
        // One time line, in order, never past the end of the longest track.
        Require(event.tick >= previous && event.tick <= file.endTick);
        previous = event.tick;
        if (event.status == 0xF0) {
            Require(event.sysexOffset <= file.sysexBytes.size());
            Require(event.sysexLength <= file.sysexBytes.size() - event.sysexOffset);
        } else {
            Require(event.status >= 0x80 && event.status <= 0xEF);
        }
    }
    // Time only moves forward, and the file's end lies within the length limit.
    const double end = file.tempoMap.ticksToMicros(file.endTick);
    Require(end >= 0 && end <= SmfFile::MaxMicros);
    Require(file.tempoMap.ticksToMicros(file.endTick / 2) <= end);
    Require(file.tempoMap.microsToTicks(end) <= file.endTick + 1);
    return 0;
}
