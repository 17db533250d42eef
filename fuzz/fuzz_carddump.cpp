// The card diagnostic dump: the first input byte splits the rest into the bytes read from
// diskinf2.br0 and cardprm.br1 (either may be missing or short).

#include "fuzzinput.h"
#include "transfer/carddump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t control = data[0];
    const QByteArray rest(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
    const qsizetype disk = std::min<qsizetype>(control & 0x0F, CardDumpBytes::DiskInfoLength);
    CardDumpBytes bytes;
    if (!(control & 0x10))
        bytes.diskInfo = rest.left(disk);
    if (!(control & 0x20))
        bytes.cardParams = rest.mid(disk, CardDumpBytes::CardParamsLength);
    const QString text = CardDumpText(bytes);
    Require(text.isEmpty() == !bytes.diskInfo.has_value());
    Require(!text.contains(u'\n'));
    return 0;
}
