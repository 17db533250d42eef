// sorvane-mkdemo DIR: writes a demo card root (songs of every recorder model, media
// folders, card files) into DIR, for newcomers trying the program without a card.

#include "fixture/cardfixture.h"
#include "fixture/demosongdetails.h"
#include "fixture/mediafixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstdint>

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

// A short piece on three channels with a tempo change, for the SMF tab.
QByteArray DemoPiece() {
    SmfSpec layout;
    layout.tempos = {{0, 500000}, {1920, 400000}};
    layout.programs = {{0, 0, 0}, {0, 1, 32}, {0, 2, 48}};
    QList<MidiNote> melody;
    QList<MidiNote> bass;
    QList<MidiNote> strings;
    const std::uint8_t keys[] = {60, 64, 67, 72, 71, 67, 64, 62};
    for (std::uint32_t bar = 0; bar < 4; ++bar) {
        for (std::uint32_t i = 0; i < 8; ++i)
            melody.append({bar * 1920 + i * 240, 0, keys[(i + bar) % 8], 96, 220});
        bass.append({bar * 1920, 1, static_cast<std::uint8_t>(36 + bar * 5 % 12), 100, 1900});
        strings.append({bar * 1920, 2, static_cast<std::uint8_t>(55 + bar * 2), 70, 1900});
    }
    layout.noteTracks = {melody, bass, strings};
    return SmfBytes(layout);
}

// The same arpeggio as a format 0 file.
QByteArray Arpeggio() {
    SmfSpec layout;
    layout.format = 0;
    layout.division = 96;
    layout.tempos = {{0, 500000}};
    QList<MidiNote> notes;
    for (std::uint8_t key : {60, 64, 67, 72})
        notes.append({static_cast<std::uint32_t>(notes.size()) * 96, 0, key, 96, 96});
    layout.noteTracks = {notes};
    return SmfBytes(layout);
}

QByteArray Tone(WavSampleFormat format, int channels, int rate, double frequency, int ms) {
    WavSpec layout;
    layout.format = format;
    layout.channels = channels;
    layout.sampleRate = rate;
    layout.frames = static_cast<std::int64_t>(rate) * ms / 1000;
    layout.sample = SineTone(frequency, rate, 0.3);
    return WavBytes(layout);
}

// A long mixdown of silence: a real WAV header over sparse data.
bool WriteMixdown(const CardFixture& card, const QString& relativePath) {
    WavSpec layout;
    layout.frames = 10'584'000; // 4 minutes of 44.1 kHz stereo
    const QByteArray header = WavHeader(layout);
    return card.writeSizedFile(relativePath, header.size() + layout.frames * 4) &&
           card.patchFile(relativePath, 0, header);
}

bool WriteMedia(const CardFixture& card) {
    return card.writeFile(QStringLiteral("Roland/SMF/ARPEGGIO.MID"), Arpeggio()) &&
           card.writeFile(QStringLiteral("Roland/SMF/DEMOSONG.MID"), DemoPiece()) &&
           card.makeFolder(QStringLiteral("Roland/TONELOAD")) &&
           card.writeSizedFile(QStringLiteral("Roland/USB/BACKING.WAV"), 1'764'044) &&
           card.writeFile(QStringLiteral("Roland/SKETCH/SKETCH01.WAV"),
                          Tone(WavSampleFormat::Pcm16, 1, 44100, 440.0, 1500)) &&
           card.writeFile(QStringLiteral("MP3/DEMO.MP3"), Mp3Bytes(200)) &&
           card.writeFile(QStringLiteral("WAV/TONE.WAV"),
                          Tone(WavSampleFormat::Pcm16, 1, 44100, 660.0, 800)) &&
           card.writeFile(QStringLiteral("WAV/CHORD24.WAV"),
                          Tone(WavSampleFormat::Pcm24, 2, 48000, 330.0, 2000)) &&
           WriteMixdown(card, QStringLiteral("WAV/MIXDOWN.WAV"));
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
