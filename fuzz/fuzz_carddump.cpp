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
    Require(text.isEmpty() || text.startsWith(QStringLiteral("SongNum = \"")));
    // The song counter's four bytes are shown as they are (a line feed among them too); the
    // card parameters show every byte that is not printable as '_', so their lines hold.
    const qsizetype params = text.indexOf(QStringLiteral("\r\rCARDPRM.BR1:\r\r"));
    Require((params >= 0) == (bytes.diskInfo.has_value() && bytes.cardParams.has_value()));
    if (params >= 0)
        Require(!text.sliced(params).contains(u'\n'));
    return 0;
}
