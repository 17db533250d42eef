// The settings file reader: any bytes are kept byte for byte, and what is read, written back
// and read again reads the same.

#include "app/core/inifile.h"
#include "fuzzinput.h"

#include <QStringList>

namespace {

const QStringList kSections{QStringLiteral("Paths"), QStringLiteral("MainForm"),
                            QStringLiteral("P")};
const QStringList kKeys{QStringLiteral("DefaultDir"), QStringLiteral("WaveConverter"),
                        QStringLiteral("WindowState"), QStringLiteral("Top"), QStringLiteral("A")};

QStringList Values(const IniFile& ini) {
    QStringList values;
    for (const QString& section : kSections)
        for (const QString& key : kKeys)
            values.append(ini.readString(section, key, QStringLiteral("<none>")));
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniFile ini(QStringLiteral("unused"));
    ini.setContents(bytes);
    Require(ini.contents() == bytes);
    const QStringList before = Values(ini);

    // Every value written back as it was read: the file reads the same.
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] != QStringLiteral("<none>"))
            ini.writeString(kSections[i / kKeys.size()], kKeys[i % kKeys.size()], before[i]);
    }
    IniFile again(QStringLiteral("unused"));
    again.setContents(ini.contents());
    Require(Values(again) == before);

    // A changed value reads back, and every other value stays as it was.
    again.writeInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), 1234);
    IniFile third(QStringLiteral("unused"));
    third.setContents(again.contents());
    Require(third.readInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), 0) == 1234);
    QStringList expected = before;
    expected[kKeys.size() + 3] = QStringLiteral("1234");
    Require(Values(third) == expected);
    return 0;
}
