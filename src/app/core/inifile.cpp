#include "app/core/inifile.h"

#include "card/fileimage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <climits>

namespace {

const QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

QString Decode(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return QString::fromLatin1(bytes);
    }
    return text;
}

bool SameName(QByteArrayView bytes, const QString& name) {
    return Decode(bytes).compare(name, Qt::CaseInsensitive) == 0;
}

// The section name of a "[Name]" line.
bool SectionOf(QByteArrayView line, QByteArrayView* name) {
    const QByteArrayView text = line.trimmed();
    if (!text.startsWith('[')) {
        return false;
    }
    const qsizetype end = text.indexOf(']');
    *name = (end < 0 ? text.sliced(1) : text.sliced(1, end - 1)).trimmed();
    return true;
}

// The key and value of a "Key=Value" line; comments and section lines are no keys.
bool KeyOf(QByteArrayView line, QByteArrayView* key, QByteArrayView* value = nullptr) {
    const QByteArrayView text = line.trimmed();
    if (text.isEmpty() || text.startsWith(';') || text.startsWith('#') || text.startsWith('[')) {
        return false;
    }
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) {
        return false;
    }
    *key = line.first(equals).trimmed();
    if (value) {
        *value = line.sliced(equals + 1).trimmed();
    }
    return !key->isEmpty();
}

// The text after a run's last inner line end, trimmed.
QByteArrayView LastPhysicalLine(QByteArrayView text) {
    qsizetype from = text.size();
    while (from > 0 && text.at(from - 1) != '\n' && text.at(from - 1) != '\r') {
        --from;
    }
    return text.sliced(from).trimmed();
}

QByteArrayView WithoutMark(QByteArrayView text) {
    return text.startsWith(kUtf8Mark) ? text.sliced(kUtf8Mark.size()) : text;
}

QByteArrayView EndingBytes(int ending) {
    static const QByteArrayView endings[] = {QByteArrayView(), "\n", "\r\n", "\r"};
    return endings[ending];
}

bool AllDigits(QStringView text, int base) {
    for (const QChar c : text) {
        const bool decimal = c >= u'0' && c <= u'9';
        const bool hex = (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!decimal && !(base == 16 && hex)) {
            return false;
        }
    }
    return !text.isEmpty();
}

} // namespace

bool ParseIniInteger(const QString& text, int* value) {
    QStringView digits(text);
    int base = 10;
    if (digits.startsWith(u"0x") || digits.startsWith(u"0X")) {
        digits = digits.mid(2);
        base = 16;
    } else if (digits.startsWith(u'$')) {
        digits = digits.mid(1);
        base = 16;
    }
    QStringView unsignedDigits = digits;
    if (base == 10 && (digits.startsWith(u'-') || digits.startsWith(u'+'))) {
        unsignedDigits = digits.mid(1);
    }
    if (!AllDigits(unsignedDigits, base)) {
        return false;
    }
    bool ok = false;
    const qlonglong number = digits.toLongLong(&ok, base);
    if (!ok || number < INT_MIN || number > INT_MAX) {
        return false;
    }
    *value = static_cast<int>(number);
    return true;
}

IniFile::IniFile(QString path) : m_path(std::move(path)) {
}

void IniFile::load() {
    bool tooLarge = false;
    const std::optional<QByteArray> bytes = ReadWholeRegularFile(m_path, MaxBytes, &tooLarge);
    setContents(bytes.value_or(QByteArray()));
    m_refused = tooLarge;
}

void IniFile::appendParsed(qsizetype start, qsizetype length, Ending ending) {
    const QByteArrayView text = QByteArrayView(m_bytes).sliced(start, length);
    const QByteArrayView bare = start == 0 ? WithoutMark(text) : text;
    QByteArrayView name;
    const Kind kind = SectionOf(bare, &name) ? Kind::Section
                      : KeyOf(bare, &name)   ? Kind::Key
                                             : Kind::Other;
    if (kind == Kind::Other && !m_lines.isEmpty()) {
        Line& previous = m_lines.last();
        if (previous.kind == Kind::Other && previous.ending != Ending::None) {
            previous.length = static_cast<quint32>(start + length - previous.start);
            previous.ending = ending;
            return;
        }
    }
    m_lines.append(Line{static_cast<quint32>(start), static_cast<quint32>(length), ending, kind});
}

void IniFile::setContents(const QByteArray& contents) {
    m_lines.clear();
    m_edits.clear();
    m_refused = contents.size() > MaxBytes;
    m_bytes = m_refused ? QByteArray() : contents;
    m_firstEnding = Ending::None;
    const char* data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\n' && data[i] != '\r') {
            continue;
        }
        const bool crlf = data[i] == '\r' && i + 1 < size && data[i + 1] == '\n';
        const Ending ending = crlf ? Ending::CrLf : data[i] == '\r' ? Ending::Cr : Ending::Lf;
        if (m_firstEnding == Ending::None) {
            m_firstEnding = ending;
        }
        appendParsed(start, i - start, ending);
        i += crlf ? 1 : 0;
        start = i + 1;
    }
    if (start < size) {
        appendParsed(start, size - start, Ending::None);
    }
}

QByteArrayView IniFile::textOf(const Line& line) const {
    if (line.edit >= 0) {
        return m_edits.at(line.edit);
    }
    return QByteArrayView(m_bytes).sliced(line.start, line.length);
}

QByteArray IniFile::contents() const {
    QByteArray bytes;
    for (const Line& line : m_lines) {
        bytes += textOf(line);
        bytes += EndingBytes(static_cast<int>(line.ending));
    }
    return bytes;
}

qsizetype IniFile::findSection(const QString& section) const {
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines.at(i);
        if (line.kind != Kind::Section) {
            continue;
        }
        const QByteArrayView text = i == 0 ? WithoutMark(textOf(line)) : textOf(line);
        QByteArrayView name;
        if (SectionOf(text, &name) && SameName(name, section)) {
            return i;
        }
    }
    return -1;
}

qsizetype IniFile::findKey(const QString& section, const QString& key) const {
    const qsizetype header = findSection(section);
    if (header < 0) {
        return -1;
    }
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        const Line& line = m_lines.at(i);
        if (line.kind == Kind::Section) {
            break;
        }
        QByteArrayView name;
        if (line.kind == Kind::Key && KeyOf(textOf(line), &name) && SameName(name, key)) {
            return i;
        }
    }
    return -1;
}

bool IniFile::contains(const QString& section, const QString& key) const {
    return findKey(section, key) >= 0;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    const qsizetype index = findKey(section, key);
    if (index < 0) {
        return defaultValue;
    }
    QByteArrayView name;
    QByteArrayView value;
    KeyOf(textOf(m_lines.at(index)), &name, &value);
    return Decode(value);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    int value = defaultValue;
    if (!ParseIniInteger(readString(section, key, QString()), &value)) {
        return defaultValue;
    }
    return value;
}

qsizetype IniFile::sectionInsertPoint(qsizetype header) const {
    qsizetype last = header;
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        const Kind kind = m_lines.at(i).kind;
        if (kind == Kind::Section) {
            break;
        }
        if (kind == Kind::Key) {
            last = i;
        }
    }
    return last + 1;
}

IniFile::Ending IniFile::newLineEnding() const {
    return m_firstEnding == Ending::None ? Ending::Lf : m_firstEnding;
}

void IniFile::insertLine(qsizetype index, Kind kind, const QByteArray& text) {
    const Ending ending = newLineEnding();
    if (index > 0 && m_lines.at(index - 1).ending == Ending::None) {
        m_lines[index - 1].ending = ending;
    }
    m_edits.append(text);
    m_lines.insert(index, Line{0, 0, ending, kind, static_cast<qint32>(m_edits.size() - 1)});
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    if (value.contains(u'\n') || value.contains(u'\r')) {
        return false;
    }
    const qsizetype index = findKey(section, key);
    if (index >= 0) {
        QByteArrayView name;
        Line& line = m_lines[index];
        KeyOf(textOf(line), &name);
        const QByteArray text = name.toByteArray() + '=' + value.toUtf8();
        if (line.edit >= 0) {
            m_edits[line.edit] = text;
        } else {
            m_edits.append(text);
            line.edit = static_cast<qint32>(m_edits.size() - 1);
        }
        return true;
    }
    qsizetype header = findSection(section);
    if (header < 0) {
        if (!m_lines.isEmpty() && !LastPhysicalLine(textOf(m_lines.constLast())).isEmpty()) {
            insertLine(m_lines.size(), Kind::Other, QByteArray());
        }
        insertLine(m_lines.size(), Kind::Section, '[' + section.toUtf8() + ']');
        header = m_lines.size() - 1;
    }
    insertLine(sectionInsertPoint(header), Kind::Key, key.toUtf8() + '=' + value.toUtf8());
    return true;
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

bool IniFile::save() const {
    if (m_refused) {
        return false;
    }
    const QFileInfo info(m_path);
    if (info.exists() && (!info.isFile() || !info.isWritable())) {
        return false;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray bytes = contents();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
