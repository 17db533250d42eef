#include "transfer/carddump.h"

#include "card/cardpath.h"
#include "card/fileimage.h"
#include "transfer/sizetext.h"

#include <cstdint>
#include <span>

namespace {

constexpr int FirstDumpOffset = 68; // 0x44
constexpr int LastDumpOffset = 139; // 0x8B

// Up to `length` bytes from `offset` of a file, read with one block read; fewer when the
// file is shorter. nullopt when it cannot be opened or read.
std::optional<QByteArray> ReadBytes(const QString& path, qint64 offset, int length) {
    QByteArray bytes(length, '\0');
    const qint64 got =
        ReadFileImage(path,
                      std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(bytes.data()),
                                              static_cast<std::size_t>(length)),
                      offset);
    if (got < 0)
        return std::nullopt;
    bytes.truncate(got);
    return bytes;
}

QString Hex2(int value) {
    return QString::number(value, 16).toUpper().rightJustified(2, u'0');
}

QString SongNumLine(const QByteArray& info) {
    const std::span<const std::uint8_t> all(reinterpret_cast<const std::uint8_t*>(info.constData()),
                                            static_cast<std::size_t>(info.size()));
    const std::size_t textLength = std::min<std::size_t>(all.size(), 4);
    QString line = QStringLiteral("SongNum = \"") +
                   FixedFieldText(all.first(textLength), static_cast<int>(textLength)) +
                   QStringLiteral("\"    ");
    for (std::size_t i = 4; i < 8; ++i) {
        if (i > 4)
            line += u' ';
        line += i < all.size() ? ZeroPadded(all[i], 3) : QStringLiteral("___");
    }
    return line;
}

QChar DumpCharacter(std::uint8_t byte) {
    const QChar c = QChar::fromLatin1(static_cast<char>(byte));
    return c.isPrint() ? c : QChar(u'_');
}

QString CardParamsLines(const QByteArray& params) {
    QString text = QStringLiteral("\r\rCARDPRM.BR1:\r\rOffset\tHex\t\t\t\t\t\t\tASCII\r0x") +
                   Hex2(FirstDumpOffset) + QStringLiteral(":\t");
    QString chars;
    for (int p = FirstDumpOffset; p <= LastDumpOffset; ++p) {
        const int k = p - FirstDumpOffset + 1;
        if (p < params.size()) {
            const auto byte = static_cast<std::uint8_t>(params.at(p));
            text += Hex2(byte) + u' ';
            chars += DumpCharacter(byte);
        } else {
            text += QStringLiteral("__ ");
        }
        if (k % 16 == 0) {
            text += u'\t' + chars + u'\r';
            chars.clear();
        } else if (k % 4 == 0) {
            text += QStringLiteral("  ");
        }
        if (k % 32 == 0)
            text += u'\r';
        if (k % 16 == 0)
            text += QStringLiteral("0x") + Hex2(p + 1) + QStringLiteral(":\t");
    }
    text += QStringLiteral("\t\t\t\t") + chars;
    return text;
}

} // namespace

CardDumpBytes ReadCardDumpBytes(const QString& cardRoot) {
    CardDumpBytes bytes;
    bytes.diskInfo = ReadBytes(ResolveCardPath(cardRoot, QStringLiteral("Roland/BR0/diskinf2.br0")),
                               CardDumpBytes::DiskInfoOffset, CardDumpBytes::DiskInfoLength);
    bytes.cardParams =
        ReadBytes(ResolveCardPath(cardRoot, QStringLiteral("Roland/BR0/cardprm.br1")), 0,
                  CardDumpBytes::CardParamsLength);
    return bytes;
}

QString CardDumpText(const CardDumpBytes& bytes) {
    if (!bytes.diskInfo)
        return QString();
    QString text = SongNumLine(*bytes.diskInfo);
    if (bytes.cardParams)
        text += CardParamsLines(*bytes.cardParams);
    return text;
}
