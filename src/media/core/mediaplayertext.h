#pragma once

#include <QString>
#include <cstdint>

// Names and texts of the player strip that do not depend on any window.

// Device type numbers the player strip keeps for the file it has open.
enum PlayerDeviceType : int {
    PlayerDeviceNone = 0,
    PlayerDeviceOther = 6,      // an MP3 file, handed to the desktop
    PlayerDeviceSequencer = 9,  // a standard MIDI file
    PlayerDeviceWaveAudio = 12, // a WAV file
};

// The longest full path of a MIDI file the sequencer accepts.
constexpr int MaxSequencerPathLength = 127;

// The extension of a file name, lower case, from its last '.'; empty when there is no '.'
// or a '\\' or ':' follows it.
QString MediaExtension(const QString& name);
// True for ".mid", ".wav" and ".mp3" names, in any letter case.
bool IsPlayableMediaName(const QString& name);
// The device type for a name's extension: 9 for ".mid", 12 for ".wav", 6 for ".mp3", 0 else.
int PlayerDeviceTypeFor(const QString& name);
// "Sequencer" for 9, "WaveAudio" for 12, "Other" for 6, empty else.
QString PlayerDeviceTypeName(int deviceType);

// The time text before anything plays: " 00:00:00 " for wave audio, "  000000  " else.
QString PlayerZeroTimeText(int deviceType);
// The time text of a position: " hh:mm:ss " from milliseconds for wave audio; the number
// itself as six zero-padded digits between two blanks on each side for any other device.
QString PlayerTimeText(int deviceType, std::int64_t position);

// The path of a listed file: the card root, the tab's folder and the name.
QString MediaFilePath(const QString& rootPath, int tab, const QString& name);
