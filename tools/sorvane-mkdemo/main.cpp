// sorvane-mkdemo DIR: writes a demo card root (songs of every recorder model, media
// folders, card files) into DIR, for newcomers trying the program without a card.

#include "fixture/cardfixture.h"
#include "fixture/demosongdetails.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QtEndian>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

struct DemoSong {
    const char* folder;
    RecorderModel model;
    const char* name;
    std::uint8_t recordMode;
    bool isProtected;
    const char* version;
    const char* infoFile; // the record's file name; older recorders use SONGINFO.BR0
    qint64 trackBytes[3]; // sizes of the audio files, 0 for none
};

const DemoSong DemoSongs[] = {
    {"SONG001.BR0",
     RecorderModel::BR864,
     "DEMO ONE",
     2,
     false,
     "1.03",
     "songinf2.br0",
     {2'400'000, 1'850'000, 96'000}},
    {"SONG002.BR0",
     RecorderModel::BR600,
     "BALLAD",
     3,
     false,
     "1.10",
     "songinf2.br0",
     {5'300'000, 0, 0}},
    {"SONG003.BR0",
     RecorderModel::BR900,
     "ROCKER",
     4,
     true,
     "2.00",
     "songinf2.br0",
     {12'000'000, 8'750'000, 640'000}},
    {"SONG004.BR0",
     RecorderModel::MicroBR,
     "POCKET",
     3,
     false,
     "1.01",
     "songinf2.br0",
     {730'000, 0, 0}},
    {"SONG005.BR0",
     RecorderModel::BR532,
     "CLASSIC",
     2,
     false,
     "1.00",
     "SONGINFO.BR0",
     {3'100'000, 450'000, 0}},
    {"SONG006.BR0",
     RecorderModel::BR800,
     "LOOPS",
     2,
     false,
     "1.20",
     "songinf2.br0",
     {999'999, 1'000, 0}},
    {"SONG007.BR0",
     RecorderModel::BR80,
     "SKETCH",
     3,
     false,
     "1.00",
     "songinf2.br0",
     {64'000'000, 0, 0}},
};

// The song information record, and SONGPRM.BR1 for a MICRO BR song.
bool WriteSongRecord(const CardFixture& card, const DemoSong& song) {
    const QString folder = QLatin1String(song.folder);
    SongInfoRecord record =
        SongInfoRecord::ForModel(song.model, song.name, song.recordMode, QByteArray(song.version));
    record.protect = song.isProtected ? 1 : 0;
    if (!card.writeSongInfo(folder, record, QLatin1String(song.infoFile)))
        return false;
    return song.model != RecorderModel::MicroBR || card.writeSongParams(folder);
}

// Audio data of the song: files of the given sizes (contents do not matter to the list).
bool WriteSongAudio(const CardFixture& card, const DemoSong& song) {
    int track = 1;
    for (qint64 bytes : song.trackBytes) {
        if (bytes <= 0)
            continue;
        const QString name = QStringLiteral("TRACK%1.BR0").arg(track++, 2, 10, QLatin1Char('0'));
        if (!card.writeSongSizedFile(QLatin1String(song.folder), name, bytes))
            return false;
    }
    return true;
}

// Everything a song folder holds; each kind of recorder file has its own writer.
bool WriteSongFiles(const CardFixture& card, const DemoSong& song) {
    const int variant = static_cast<int>(&song - DemoSongs);
    return WriteSongRecord(card, song) && WriteSongAudio(card, song) &&
           WriteDemoSongDetails(card, QLatin1String(song.folder), variant);
}

void AppendLe16(QByteArray& out, std::uint16_t v) {
    char bytes[2];
    qToLittleEndian(v, bytes);
    out.append(bytes, 2);
}

void AppendLe32(QByteArray& out, std::uint32_t v) {
    char bytes[4];
    qToLittleEndian(v, bytes);
    out.append(bytes, 4);
}

void AppendBe32(QByteArray& out, std::uint32_t v) {
    char bytes[4];
    qToBigEndian(v, bytes);
    out.append(bytes, 4);
}

// A short mono 16-bit sine tone as a RIFF WAVE file.
QByteArray SineWave(double frequency, int milliseconds) {
    constexpr std::uint32_t Rate = 44100;
    const std::uint32_t frames = Rate * static_cast<std::uint32_t>(milliseconds) / 1000;
    QByteArray out("RIFF");
    AppendLe32(out, 36 + frames * 2);
    out.append("WAVEfmt ");
    AppendLe32(out, 16);
    AppendLe16(out, 1); // PCM
    AppendLe16(out, 1); // mono
    AppendLe32(out, Rate);
    AppendLe32(out, Rate * 2);
    AppendLe16(out, 2);
    AppendLe16(out, 16);
    out.append("data");
    AppendLe32(out, frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double v = 0.3 * std::sin(2.0 * std::numbers::pi * frequency * t);
        AppendLe16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v * 32767.0)));
    }
    return out;
}

// A standard MIDI file (format 0) playing a C major arpeggio.
QByteArray Arpeggio() {
    QByteArray track;
    for (char note : {60, 64, 67, 72}) {
        track.append(QByteArray::fromRawData("\x00\x90", 2)).append(note).append('\x60');
        track.append(QByteArray::fromRawData("\x60\x80", 2)).append(note).append('\x40');
    }
    track.append(QByteArray::fromRawData("\x00\xFF\x2F\x00", 4));
    QByteArray out("MThd");
    AppendBe32(out, 6);
    out.append(QByteArray::fromRawData("\x00\x00\x00\x01\x00\x60", 6));
    out.append("MTrk");
    AppendBe32(out, static_cast<std::uint32_t>(track.size()));
    return out + track;
}

bool WriteMedia(const CardFixture& card) {
    return card.writeFile(QStringLiteral("Roland/SMF/ARPEGGIO.MID"), Arpeggio()) &&
           card.makeFolder(QStringLiteral("Roland/TONELOAD")) &&
           card.writeSizedFile(QStringLiteral("Roland/USB/BACKING.WAV"), 1'764'044) &&
           card.writeFile(QStringLiteral("Roland/SKETCH/SKETCH01.WAV"), SineWave(440.0, 1500)) &&
           card.writeSizedFile(QStringLiteral("MP3/DEMO.MP3"), 3'456'789) &&
           card.writeFile(QStringLiteral("WAV/TONE.WAV"), SineWave(660.0, 800)) &&
           card.writeSizedFile(QStringLiteral("WAV/MIXDOWN.WAV"), 42'336'044);
}

bool WriteCardFiles(const CardFixture& card) {
    QByteArray diskInfo(48, '\0');
    diskInfo.append(SpacePadded("SORVANE", 8));
    diskInfo.append(QByteArray(200, '\0'));
    QByteArray cardParams(64, '\0');
    cardParams.replace(0, 4, "DEMO");
    return card.writeDiskInfo(diskInfo) && card.writeCardParams(cardParams);
}

bool WriteDemoCard(const QString& root) {
    const CardFixture card(root);
    for (const DemoSong& song : DemoSongs) {
        if (!WriteSongFiles(card, song))
            return false;
    }
    return WriteCardFiles(card) && WriteMedia(card);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 1 || args.front().isEmpty()) {
        err << "Usage: sorvane-mkdemo DIR\n"
               "Writes a demo card root into DIR (a new or empty folder).\n";
        return 2;
    }
    const QString root = args.front();
    const QFileInfo info(root);
    if (info.exists() &&
        (!info.isDir() || !QDir(root).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                              QDir::NoDotAndDotDot))) {
        err << "sorvane-mkdemo: \"" << root << "\" exists and is not an empty folder\n";
        return 1;
    }
    if (!QDir().mkpath(root) || !WriteDemoCard(root)) {
        err << "sorvane-mkdemo: could not write the demo card into \"" << root << "\"\n";
        return 1;
    }
    return 0;
}
