// Take events: TAKE_EVT.BR0 from any bytes and any length.

#include "card/trackusage.h"
#include "fuzzinput.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TakeEvtImage image;
    FillImage(image, data, size);
    const std::size_t length = std::min(size, image.bytes.size());
    const TrackUsage usage = TrackUsageFromImage(image.bytes, length);
    // Nothing is used in an image without a single whole record.
    if (length < TakeEvtImage::HeaderSize + TakeEvtImage::RecordSize) {
        for (int t = 0; t < TrackUsage::Tracks; ++t)
            for (int v = 0; v < TrackUsage::VTracks; ++v)
                Require(!usage.isUsed(t, v));
    }
    // A length beyond the image reads no further than the image.
    TrackUsageFromImage(image.bytes, size);
    return 0;
}
