#include "app/core/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <climits>

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

QString Decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return QString::fromLatin1(bytes);
    }
    return text;
}

bool SameName(const QByteArray& bytes, const QString& name) {
    return Decode(bytes).compare(name, Qt::CaseInsensitive) == 0;
}

// The section name of a "[Name]" line.
bool SectionOf(const QByteArray& line, QByteArray* name) {
    const QByteArray text = line.trimmed();
    if (!text.startsWith('[')) {
        return false;
    }
    const qsizetype end = text.indexOf(']');
    *name = text.mid(1, end < 0 ? -1 : end - 1).trimmed();
    return true;
}

// The key and value of a "Key=Value" line; comments and section lines are no keys.
bool KeyOf(const QByteArray& line, QByteArray* key, QByteArray* value = nullptr) {
    const QByteArray text = line.trimmed();
    if (text.isEmpty() || text.startsWith(';') || text.startsWith('#') || text.startsWith('[')) {
        return false;
    }
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) {
        return false;
    }
    *key = line.left(equals).trimmed();
    if (value) {
        *value = line.mid(equals + 1).trimmed();
    }
    return !key->isEmpty();
}

bool IsSectionLine(const QByteArray& line) {
    QByteArray name;
    return SectionOf(line, &name);
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
    QFile file(m_path);
    setContents(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

void IniFile::setContents(const QByteArray& contents) {
    m_lines.clear();
    qsizetype start = 0;
    while (start < contents.size()) {
        const qsizetype newline = contents.indexOf('\n', start);
        if (newline < 0) {
            m_lines.append(Line{contents.mid(start), QByteArray()});
            break;
        }
        const bool crlf = newline > start && contents.at(newline - 1) == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        m_lines.append(Line{contents.mid(start, textEnd - start),
                            crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n")});
        start = newline + 1;
    }
}

QByteArray IniFile::contents() const {
    QByteArray bytes;
    for (const Line& line : m_lines) {
        bytes += line.text;
        bytes += line.ending;
    }
    return bytes;
}

qsizetype IniFile::findSection(const QString& section) const {
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        QByteArray text = m_lines.at(i).text;
        if (i == 0 && text.startsWith(kUtf8Mark)) {
            text = text.mid(kUtf8Mark.size());
        }
        QByteArray name;
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
        const QByteArray& text = m_lines.at(i).text;
        if (IsSectionLine(text)) {
            break;
        }
        QByteArray name;
        if (KeyOf(text, &name) && SameName(name, key)) {
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
    QByteArray name;
    QByteArray value;
    KeyOf(m_lines.at(index).text, &name, &value);
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
        const QByteArray& text = m_lines.at(i).text;
        if (IsSectionLine(text)) {
            break;
        }
        QByteArray name;
        if (KeyOf(text, &name)) {
            last = i;
        }
    }
    return last + 1;
}

QByteArray IniFile::newLineEnding() const {
    for (const Line& line : m_lines) {
        if (!line.ending.isEmpty()) {
            return line.ending;
        }
    }
    return QByteArrayLiteral("\n");
}

void IniFile::insertLine(qsizetype index, const QByteArray& text) {
    const QByteArray ending = newLineEnding();
    if (index > 0 && m_lines.at(index - 1).ending.isEmpty()) {
        m_lines[index - 1].ending = ending;
    }
    m_lines.insert(index, Line{text, ending});
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    if (value.contains(u'\n') || value.contains(u'\r')) {
        return false;
    }
    const qsizetype index = findKey(section, key);
    if (index >= 0) {
        QByteArray name;
        KeyOf(m_lines.at(index).text, &name);
        m_lines[index].text = name + '=' + value.toUtf8();
        return true;
    }
    qsizetype header = findSection(section);
    if (header < 0) {
        if (!m_lines.isEmpty() && !m_lines.constLast().text.trimmed().isEmpty()) {
            insertLine(m_lines.size(), QByteArray());
        }
        insertLine(m_lines.size(), '[' + section.toUtf8() + ']');
        header = m_lines.size() - 1;
    }
    insertLine(sectionInsertPoint(header), key.toUtf8() + '=' + value.toUtf8());
    return true;
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

bool IniFile::save() const {
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
