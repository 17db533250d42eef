// Writes the seed corpora of the fuzz targets: the files of demo songs made by the fixture
// builder, one folder per target below OUTDIR.

#include "app/core/inifile.h"
#include "fixture/cardfixture.h"
#include "fixture/demosongdetails.h"
#include "fixture/mediafixture.h"
#include "fixture/songfilesfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool Seed(const QString& outDir, const char* target, const QString& name, const QByteArray& bytes) {
    const QString folder = outDir + u'/' + QLatin1String(target);
    QFile file(folder + u'/' + name);
    return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

QByteArray Padded(QByteArray bytes, qsizetype size) {
    if (bytes.size() < size)
        bytes.append(QByteArray(size - bytes.size(), '\0'));
    return bytes;
}

bool SeedSong(const CardFixture& card, const QString& out, int variant, RecorderModel model) {
    const QString folder = QStringLiteral("SONG%1.BR0").arg(variant + 1, 3, 10, QChar(u'0'));
    const QString id = QString::number(variant);
    if (!card.writeSongInfo(folder, SongInfoRecord::ForModel(model, "DEMO" + id.toLatin1(), 2)) ||
        !WriteDemoSongDetails(card, folder, variant))
        return false;
    const QString song = card.songFolder(folder) + u'/';
    const QByteArray arrange = card.readFile(song + QStringLiteral("arrange2.br0"));
    const QByteArray pattern = card.readFile(song + QStringLiteral("pattern.br0"));
    bool ok = Seed(out, "songinfo", id, card.readFile(song + QStringLiteral("songinf2.br0")));
    ok = Seed(out, "arrangements", id, Padded(arrange, 3144) + pattern) && ok;
    ok = Seed(out, "patterns", id, pattern) && ok;
    ok = Seed(out, "effects", id, card.readFile(song + QStringLiteral("effects2.br0"))) && ok;
    ok = Seed(out, "takeevt", id, card.readFile(song + QStringLiteral("TAKE_EVT.BR0"))) && ok;
    ok = Seed(out, "songfiles", id + QStringLiteral("-title"),
              card.readFile(song + QStringLiteral("SongInfo.dat"))) &&
         ok;
    ok = Seed(out, "songfiles", id + QStringLiteral("-notes"),
              card.readFile(song + QStringLiteral("Notes.txt"))) &&
         ok;
    return ok;
}

bool SeedDumpAndSettings(const QString& out) {
    QByteArray disk(8, '\0');
    PutBytes(disk, 0, "0042");
    PutBytes(disk, 4, QByteArray("\x05\x00\xFF\x11", 4));
    QByteArray params(140, '\0');
    PutBytes(params, 68, "BR-864 card parameters \x01\x7F\xE9");
    bool ok = Seed(out, "carddump", QStringLiteral("whole"), char(0x08) + disk + params);
    ok = Seed(out, "carddump", QStringLiteral("short"), char(0x03) + disk.left(3)) && ok;
    const char* endings[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 3; ++i) {
        IniFile ini(QStringLiteral("unused"));
        ini.setContents(QByteArray("; Sorvane") + endings[i]);
        ini.writeString(QStringLiteral("Paths"), QStringLiteral("DefaultDir"),
                        QStringLiteral("/home/me/BR backups"));
        ini.writeString(QStringLiteral("Paths"), QStringLiteral("WaveConverter"),
                        QStringLiteral("/opt/brwc/BRWC.exe"));
        for (const char* key : {"WindowState", "Top", "Left", "Width", "Height"})
            ini.writeInteger(QStringLiteral("MainForm"), QLatin1String(key), 100 + i);
        ok = Seed(out, "ini", QString::number(i), ini.contents()) && ok;
    }
    return ok;
}

bool SeedMedia(const QString& out) {
    bool ok = true;
    const WavSampleFormat formats[] = {WavSampleFormat::Pcm8, WavSampleFormat::Pcm16,
                                       WavSampleFormat::Pcm24, WavSampleFormat::Pcm32,
                                       WavSampleFormat::Float32};
    for (int i = 0; i < 5; ++i) {
        WavSpec layout;
        layout.format = formats[i];
        layout.channels = 1 + i % 2;
        layout.sampleRate = i % 2 ? 22050 : 48000;
        layout.frames = 300;
        layout.sample = SineTone(440, layout.sampleRate);
        ok = Seed(out, "wav", QString::number(i), WavBytes(layout)) && ok;
    }
    for (int format = 0; format < 2; ++format) {
        SmfSpec layout;
        layout.format = format;
        layout.tempos = {{0, 500000}, {960, 400000}};
        layout.programs = {{0, 0, 24}};
        layout.controllers = {{0, 0, 7, 90}};
        layout.noteTracks = {{{0, 0, 60, 100, 240}, {480, 0, 64, 90, 240}},
                             {{240, 9, 36, 110, 60}}};
        ok = Seed(out, "smf", QString::number(format), SmfBytes(layout)) && ok;
    }
    return ok;
}

// Copy descriptions: flags, batch size, the failing operation (kind, call, times), the
// cancel, three pairs of answers, then entries (kind, depth, names..., size, seed).
bool SeedCopies(const QString& out) {
    const QByteArray plain("\x00\x02\x00\x00\x00\x00\x00\x02\x00\x02\x00\x02"
                           "\x00\x00\x00\x02\x01\x00\x01\x01\x00\x02\x01\x01\x04\x07",
                           26);
    QByteArray conflicts = plain;
    conflicts.append("\x04\x01\x00\x03\x09\x05\x00\x01\x01", 9);
    QByteArray failing = conflicts;
    failing[2] = 3; // the writes fail
    failing[3] = 1;
    bool ok = Seed(out, "copy", QStringLiteral("plain"), plain);
    ok = Seed(out, "copy", QStringLiteral("conflicts"), conflicts) && ok;
    return Seed(out, "copy", QStringLiteral("failing"), failing) && ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir root;
    const CardFixture card(root.path());
    bool ok = root.isValid();
    const RecorderModel models[] = {RecorderModel::BR532, RecorderModel::BR864,
                                    RecorderModel::MicroBR, RecorderModel::BR80};
    for (int variant = 0; variant < 4; ++variant)
        ok = SeedSong(card, out, variant, models[variant]) && ok;
    ok = SeedDumpAndSettings(out) && ok;
    ok = SeedMedia(out) && ok;
    ok = SeedCopies(out) && ok;
    return ok ? 0 : 1;
}
