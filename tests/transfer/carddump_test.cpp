#include "transfer/carddump.h"

#include "support/cardtest.h"

#include <QFile>

namespace {

// cardprm.br1 bytes whose value is their own offset.
QByteArray CountingBytes(int length) {
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i);
    return bytes;
}

// diskinf2.br0 offsets 48 to 55.
const QByteArray SongNumBytes("0042\x05\x00\xff\x11", 8);
const QString SongNumLine = QStringLiteral("SongNum = \"0042\"    005 000 255 017");
const QString Header =
    SongNumLine + QStringLiteral("\r\rCARDPRM.BR1:\r\rOffset\tHex\t\t\t\t\t\t\tASCII\r");

} // namespace

// Bytes after offset 139 are not shown.
TEST(CardDump, LayoutByteForByte) {
    const QString expected =
        Header + QStringLiteral("0x44:\t44 45 46 47   48 49 4A 4B   4C 4D 4E 4F   50 51 52 53 "
                                "\tDEFGHIJKLMNOPQRS\r"
                                "0x54:\t54 55 56 57   58 59 5A 5B   5C 5D 5E 5F   60 61 62 63 "
                                "\tTUVWXYZ[\\]^_`abc\r\r"
                                "0x64:\t64 65 66 67   68 69 6A 6B   6C 6D 6E 6F   70 71 72 73 "
                                "\tdefghijklmnopqrs\r"
                                "0x74:\t74 75 76 77   78 79 7A 7B   7C 7D 7E 7F   80 81 82 83 "
                                "\ttuvwxyz{|}~_____\r\r"
                                "0x84:\t84 85 86 87   88 89 8A 8B   \t\t\t\t________");
    EXPECT_EQ(CardDumpText({SongNumBytes, CountingBytes(512)}), expected);

    QByteArray params(140, ' ');
    params.replace(68, 8, QByteArray("\x09\x41\xad\xe9\xa0\x7f\x9f\x00", 8));
    EXPECT_EQ(CardDumpText({SongNumBytes, params}).section(u'\r', 5, 5),
              QStringLiteral("0x44:\t09 41 AD E9   A0 7F 9F 00   20 20 20 20   "
                             "20 20 20 20 \t_A_\u00e9\u00a0___        "));
}

// Missing bytes show as "___" and "__", never as zeros; a missing diskinf2.br0 shows nothing.
TEST(CardDump, MissingAndShortFiles) {
    EXPECT_TRUE(CardDumpText({std::nullopt, CountingBytes(140)}).isEmpty());
    EXPECT_EQ(CardDumpText({SongNumBytes, std::nullopt}), SongNumLine);
    EXPECT_EQ(CardDumpText({QByteArray("AB\0C\x07\x2a\xc8\x00", 8), std::nullopt}),
              QStringLiteral("SongNum = \"AB\"    007 042 200 000"));
    EXPECT_EQ(CardDumpText({QByteArray("BR\x09\x01\x02", 5), std::nullopt}),
              QStringLiteral("SongNum = \"BR\t\x01\"    002 ___ ___ ___"));
    EXPECT_EQ(CardDumpText({QByteArray(), std::nullopt}),
              QStringLiteral("SongNum = \"\"    ___ ___ ___ ___"));

    const QString gap = QStringLiteral("__ __ __ __   __ __ __ __   __ __ __ __   __ __ __ __ ");
    EXPECT_EQ(CardDumpText({SongNumBytes, CountingBytes(70)}),
              Header +
                  QStringLiteral("0x44:\t44 45 __ __   __ __ __ __   __ __ __ __   "
                                 "__ __ __ __ \tDE\r0x54:\t") +
                  gap + QStringLiteral("\t\r\r0x64:\t") + gap + QStringLiteral("\t\r0x74:\t") +
                  gap + QStringLiteral("\t\r\r0x84:\t__ __ __ __   __ __ __ __   \t\t\t\t"));
    EXPECT_EQ(CardDumpText({SongNumBytes, CountingBytes(10)}),
              CardDumpText({SongNumBytes, QByteArray()}));
}

using CardDumpFiles = CardRootTest;

// Both files are found whatever their case, and only the bytes the dump shows are read. A
// diskinf2.br0 ending at offset 51 gives what it holds, one ending before offset 48 nothing;
// a missing file, or a folder in its place, is not read.
TEST_F(CardDumpFiles, ReadsWhatTheFilesHold) {
    EXPECT_FALSE(ReadCardDumpBytes(m_card.root()).diskInfo);
    EXPECT_FALSE(ReadCardDumpBytes(m_card.root()).cardParams);
    const QString diskInfo = QStringLiteral("ROLAND/br0/DISKINF2.BR0");
    const QString cardParams = QStringLiteral("ROLAND/br0/CardPrm.Br1");
    ASSERT_TRUE(m_card.writeFile(diskInfo, QByteArray(48, '\x11') + SongNumBytes + "xx"));
    ASSERT_TRUE(m_card.writeFile(cardParams, CountingBytes(200)));
    EXPECT_EQ(ReadCardDumpBytes(m_card.root()).diskInfo, SongNumBytes);
    EXPECT_EQ(ReadCardDumpBytes(m_card.root()).cardParams, CountingBytes(140));
    ASSERT_TRUE(m_card.writeFile(diskInfo, QByteArray(48, '\0') + "0042"));
    ASSERT_TRUE(m_card.writeFile(cardParams, CountingBytes(90)));
    EXPECT_EQ(ReadCardDumpBytes(m_card.root()).diskInfo, QByteArray("0042"));
    EXPECT_EQ(ReadCardDumpBytes(m_card.root()).cardParams, CountingBytes(90));
    ASSERT_TRUE(m_card.writeFile(diskInfo, QByteArray(20, 'x')));
    EXPECT_EQ(ReadCardDumpBytes(m_card.root()).diskInfo, QByteArray());
    ASSERT_TRUE(QFile::remove(m_card.path(diskInfo)));
    ASSERT_TRUE(m_card.makeFolder(diskInfo));
    EXPECT_FALSE(ReadCardDumpBytes(m_card.root()).diskInfo);
}
