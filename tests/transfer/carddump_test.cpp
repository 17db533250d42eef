#include "transfer/carddump.h"

#include "support/cardtest.h"

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

const QString Header = QStringLiteral("SongNum = \"0042\"    005 000 255 017"
                                      "\r\rCARDPRM.BR1:\r\rOffset\tHex\t\t\t\t\t\t\tASCII\r");

} // namespace

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
    EXPECT_EQ(CardDumpText({SongNumBytes, CountingBytes(140)}), expected);
    // Bytes after offset 139 are not shown.
    EXPECT_EQ(CardDumpText({SongNumBytes, CountingBytes(512)}), expected);
}

TEST(CardDump, SongNumTextEndsAtItsFirstZero) {
    const QByteArray info("AB\0C\x07\x2a\xc8\x00", 8);
    EXPECT_EQ(CardDumpText({info, std::nullopt}),
              QStringLiteral("SongNum = \"AB\"    007 042 200 000"));
}

TEST(CardDump, MissingFiles) {
    // Without diskinf2.br0 nothing is shown, whatever cardprm.br1 holds.
    EXPECT_TRUE(CardDumpText({std::nullopt, CountingBytes(140)}).isEmpty());
    // Without cardprm.br1 only the first line.
    EXPECT_EQ(CardDumpText({SongNumBytes, std::nullopt}),
              QStringLiteral("SongNum = \"0042\"    005 000 255 017"));
}

TEST(CardDump, ShortFilesShowMissingBytesAsUnderscores) {
    EXPECT_EQ(CardDumpText({QByteArray("BR\x09\x01\x02", 5), std::nullopt}),
              QStringLiteral("SongNum = \"BR\t\x01\"    002 ___ ___ ___"));
    EXPECT_EQ(CardDumpText({QByteArray(), std::nullopt}),
              QStringLiteral("SongNum = \"\"    ___ ___ ___ ___"));

    const QString gap = QStringLiteral("__ __ __ __   __ __ __ __   __ __ __ __   __ __ __ __ ");
    const QString expected =
        Header + QStringLiteral("0x44:\t44 45 __ __   ") +
        QStringLiteral("__ __ __ __   __ __ __ __   __ __ __ __ \tDE\r0x54:\t") + gap +
        QStringLiteral("\t\r\r0x64:\t") + gap + QStringLiteral("\t\r0x74:\t") + gap +
        QStringLiteral("\t\r\r0x84:\t__ __ __ __   __ __ __ __   \t\t\t\t");
    EXPECT_EQ(CardDumpText({SongNumBytes, CountingBytes(70)}), expected);
    // A file ending before offset 68 shows no byte at all.
    EXPECT_EQ(CardDumpText({SongNumBytes, CountingBytes(10)}),
              CardDumpText({SongNumBytes, QByteArray()}));
}

TEST(CardDump, OnlyPrintableCharactersInTheCharacterColumn) {
    QByteArray params(140, ' ');
    const QByteArray odd("\x09\x41\xad\xe9\xa0\x7f\x9f\x00", 8);
    params.replace(68, odd.size(), odd);
    const QString text = CardDumpText({SongNumBytes, params});
    const QString first = text.section(u'\r', 5, 5);
    EXPECT_EQ(first, QStringLiteral("0x44:\t09 41 AD E9   A0 7F 9F 00   20 20 20 20   "
                                    "20 20 20 20 \t_A_\u00e9\u00a0___        "));
}

class CardDumpFiles : public CardRootTest {};

TEST_F(CardDumpFiles, ReadsBothFilesWhateverTheirCase) {
    QByteArray diskInfo(64, '\x11');
    diskInfo.replace(48, 8, SongNumBytes);
    ASSERT_TRUE(m_card.writeFile(QStringLiteral("ROLAND/br0/DISKINF2.BR0"), diskInfo));
    ASSERT_TRUE(m_card.writeFile(QStringLiteral("ROLAND/br0/CardPrm.Br1"), CountingBytes(200)));
    const CardDumpBytes bytes = ReadCardDumpBytes(m_card.root());
    ASSERT_TRUE(bytes.diskInfo);
    EXPECT_EQ(*bytes.diskInfo, SongNumBytes);
    ASSERT_TRUE(bytes.cardParams);
    EXPECT_EQ(*bytes.cardParams, CountingBytes(140));
    EXPECT_TRUE(CardDumpText(bytes).startsWith(Header));
}

TEST_F(CardDumpFiles, ShortAndMissingFiles) {
    CardDumpBytes bytes = ReadCardDumpBytes(m_card.root());
    EXPECT_FALSE(bytes.diskInfo);
    EXPECT_FALSE(bytes.cardParams);
    EXPECT_TRUE(CardDumpText(bytes).isEmpty());

    // diskinf2.br0 ending at offset 51; cardprm.br1 of 90 bytes.
    ASSERT_TRUE(m_card.writeDiskInfo(QByteArray(48, '\0') + "0042"));
    ASSERT_TRUE(m_card.writeCardParams(CountingBytes(90)));
    bytes = ReadCardDumpBytes(m_card.root());
    EXPECT_EQ(bytes.diskInfo, QByteArray("0042"));
    EXPECT_EQ(bytes.cardParams, CountingBytes(90));

    // diskinf2.br0 ending before offset 48 is there, with none of the bytes.
    ASSERT_TRUE(m_card.writeDiskInfo(QByteArray(20, 'x')));
    bytes = ReadCardDumpBytes(m_card.root());
    ASSERT_TRUE(bytes.diskInfo);
    EXPECT_TRUE(bytes.diskInfo->isEmpty());
}

TEST_F(CardDumpFiles, FolderInPlaceOfAFileIsNotRead) {
    ASSERT_TRUE(m_card.makeFolder(QStringLiteral("Roland/BR0/diskinf2.br0")));
    EXPECT_FALSE(ReadCardDumpBytes(m_card.root()).diskInfo);
}
