#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The card diagnostic dump: the song counter field of diskinf2.br0 and the middle of
// cardprm.br1, shown when "Go to BR Memory Card" is chosen with Alt held down.

// The bytes the dump shows, as read from a card root.
struct CardDumpBytes {
    static constexpr qint64 DiskInfoOffset = 48;
    static constexpr int DiskInfoLength = 8;     // diskinf2.br0 offsets 48 to 55
    static constexpr int CardParamsLength = 140; // cardprm.br1 offsets 0 to 139

    // Up to DiskInfoLength bytes from offset 48 (fewer when the file is shorter);
    // nullopt when the file cannot be opened.
    std::optional<QByteArray> diskInfo;
    // Up to CardParamsLength bytes from offset 0; nullopt when the file cannot be opened.
    std::optional<QByteArray> cardParams;
};

// Reads Roland/BR0/diskinf2.br0 and Roland/BR0/cardprm.br1 below `cardRoot`, names matched
// without regard to case.
CardDumpBytes ReadCardDumpBytes(const QString& cardRoot);

// The dump text, lines ending in "\r":
//   SongNum = "ABCD"    005 000 255 017
//
//   CARDPRM.BR1:
//
//   Offset<TAB>Hex<TAB x7>ASCII
//   0x44:<TAB>hex bytes, 16 a line in groups of four<TAB>characters
//   ...
// offsets 68 to 139 of cardprm.br1, an empty line after every second line, the last line
// with 8 bytes followed by four tabs and its characters. Characters that are not printable
// show as "_".
//
// Bytes a short file lacks are shown as missing, never as zeros: in the SongNum line the
// text field holds only the bytes present and a missing number shows as "___"; in the hex
// part a missing byte shows as "__" (so the columns stay in place) and adds nothing to the
// character column.
//
// Empty when diskinf2.br0 could not be opened (nothing is shown); only the SongNum line when
// cardprm.br1 could not be opened.
QString CardDumpText(const CardDumpBytes& bytes);
