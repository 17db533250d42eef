#pragma once

#include <QString>

// The texts the recorder shows for the small codes in its files. Each lookup is a pure
// function; an index outside a table gives an empty text (never a failure).

QString TimeSignatureText(int index); // 0..31: "1/1" .. "8/8"
int TimeSignatureBeats(int index);    // numerator: (index mod 8) + 1
QString DrumKitText(int index);       // 0..14; 14 is the blank item " "
constexpr int DrumKitCount = 15;
QString PresetPatternName(int number); // 0..326: "ROCK1-IN" .. "BREAK"
constexpr int PresetPatternBreak = 326;
QString RecordModeText(int code); // "HiFi (MT2)", ..., "Type: n"
QString AlgorithmName(int code);  // "COSM GTR AMP", ..., "?n" from 21
QString PlayerModeText(int mode); // "[0] Not ready", ..., "<<< n >>>"
