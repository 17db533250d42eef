#include "card/vocabulary.h"

#include <array>

namespace {

constexpr char16_t Denominators[] = u"1248";

constexpr std::array<const char16_t*, 14> DrumKits{
    u"P1 - STD 1",      u"P2 - STD 2",      u"P3 - ROOM",       u"P4 - HARD",
    u"P5 - JAZZ",       u"P6 - HIP-HOP",    u"P7 - HOUSE",      u"P8 - REGGAE",
    u"P9 - 808",        u"S1 - Song Kit 1", u"S2 - Song Kit 2", u"S3 - Song Kit 3",
    u"S4 - Song Kit 4", u"S5 - Song Kit 5",
};

constexpr std::array<const char16_t*, 49> RhythmStyles{
    u"ROCK1", u"ROCK2", u"ROCK3", u"ROCK4", u"ROCK5", u"ROCK6", u"HdRc1", u"HdRc2", u"HdRc3",
    u"HdRc4", u"HdRc5", u"HEVY1", u"HEVY2", u"HEVY3", u"HEVY4", u"HEVY5", u"POP1 ", u"POP2 ",
    u"POP3 ", u"POP4 ", u"POP5 ", u"POP6 ", u"POP7 ", u"POP8 ", u"BALD1", u"BALD2", u"BLUS1",
    u"BLUS2", u"BLUS3", u"BLUS4", u"R&B1 ", u"R&B2 ", u"R&B3 ", u"R&B4 ", u"R&B5 ", u"JAZZ1",
    u"JAZZ2", u"JAZZ3", u"FUSN1", u"FUSN2", u"H.Hp1", u"H.Hp2", u"FUNK ", u"HOUSE", u"Cnty1",
    u"Cnty2", u"Othr1", u"Othr2", u"Othr3",
};

constexpr std::array<const char16_t*, 6> RhythmParts{u"IN", u"V1", u"F1", u"V2", u"F2", u"E"};

constexpr std::array<const char16_t*, 21> Algorithms{
    u"COSM GTR AMP",
    u"ACOUSTIC SIM",
    u"BASS SIM",
    u"ACOUSTIC GTR",
    u"BASS MULTI",
    u"COSM BASS AMP",
    u"VOCAL MULTI",
    u"VOICE TRANS",
    u"VO+GT AMP",
    u"VO+AC.SIM",
    u"VO+ACOUSTIC",
    u"STEREO MULTI",
    u"LO-FI BOX",
    u"",
    u"",
    u"COSM COMP GTR",
    u"COSM COMP BSS",
    u"COSM COMP VCL",
    u"GTR SYNTH",
    u"",
    u"MSTR TOOL KIT",
};

constexpr std::array<const char16_t*, 7> PlayerModes{
    u"[0] Not ready", u"[1] Stopped", u"[2] Playing", u"[3] Recording",
    u"[4] Seeking",   u"[5] Paused",  u"[6] Open",
};

constexpr int TimeSignatures = 32;
constexpr int RhythmEntries = 294;

// "n/D" for a time-signature index known to be in range.
QString Signature(int index) {
    return QString::number(index % 8 + 1) + u'/' + QChar(Denominators[index / 8]);
}

} // namespace

QString TimeSignatureText(int index) {
    if (index < 0 || index >= TimeSignatures)
        return QString();
    return Signature(index);
}

int TimeSignatureBeats(int index) {
    return ((index % 8) + 8) % 8 + 1;
}

QString DrumKitText(int index) {
    if (index == DrumKitCount - 1)
        return QStringLiteral(" ");
    if (index < 0 || index >= static_cast<int>(DrumKits.size()))
        return QString();
    return QString::fromUtf16(DrumKits[index]);
}

QString PresetPatternName(int number) {
    if (number < 0 || number > PresetPatternBreak)
        return QString();
    if (number < RhythmEntries) {
        return QString::fromUtf16(RhythmStyles[number / 6]) + u'-' +
               QString::fromUtf16(RhythmParts[number % 6]);
    }
    if (number < PresetPatternBreak)
        return u"Metro (" + Signature(number - RhythmEntries) + u')';
    return QStringLiteral("BREAK");
}

QString RecordModeText(int code) {
    switch (code) {
    case 2:
        return QStringLiteral("HiFi (MT2)");
    case 3:
        return QStringLiteral("STD (LV1)");
    case 4:
        return QStringLiteral("LONG (LV2)");
    default:
        return u"Type: " + QString::number(code);
    }
}

QString AlgorithmName(int code) {
    if (code >= 0 && code < static_cast<int>(Algorithms.size()))
        return QString::fromUtf16(Algorithms[code]);
    return u'?' + QString::number(code);
}

QString PlayerModeText(int mode) {
    if (mode >= 0 && mode < static_cast<int>(PlayerModes.size()))
        return QString::fromUtf16(PlayerModes[mode]);
    return u"<<< " + QString::number(mode) + u" >>>";
}
