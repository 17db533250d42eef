#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A failed write of an INI file. message() is the text the user is shown.
class IniWriteError {
public:
    explicit IniWriteError(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }
    QString message() const { return QStringLiteral("Unable to write to ") + m_path; }

private:
    QString m_path;
};

// An INI file in the classic layout: "[Section]" lines open sections, "Key=Value" lines
// follow. Sections and keys match without regard to case; values are raw text (no quoting
// or escapes), trimmed of surrounding blanks. CR LF, LF and a lone CR all end a line. Every
// line the program does not change is kept byte for byte, with its own line ending; unknown
// sections, keys and comments stay where they are. Values are read and written as UTF-8 (a
// value that is not valid UTF-8 reads as Latin-1).
//
// A file larger than MaxBytes is no settings file: it reads as empty (every value its
// default) and is never replaced. Memory stays near the file's size: the bytes are kept
// once and each line is a small record pointing into them; runs of lines that are neither
// sections nor keys are kept as one record.
class IniFile {
public:
    static constexpr qint64 MaxBytes = 4 * 1024 * 1024;

    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    // Reads the file. A missing or unreadable file, or anything but a regular file, reads as
    // empty; so does one larger than MaxBytes, which is then refused().
    void load();
    // True when the last load() found a file too large to be a settings file.
    bool refused() const { return m_refused; }
    // Parses the given bytes as the file's contents.
    void setContents(const QByteArray& contents);
    // The file's contents as save() writes them.
    QByteArray contents() const;

    bool contains(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; anything else gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;

    // Set a key in memory, replacing its value where it exists or adding it at the end of
    // its section (the section is added at the end of the file when missing). A value with
    // a line break cannot be stored in the layout: it is refused (false).
    bool writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);

    // Replaces the file atomically with the contents: a temporary file beside it, flushed
    // and renamed over it. A read-only file, anything but a regular file, and a refused file
    // are not replaced. False on failure, and the file is then left as it was.
    bool save() const;

private:
    enum class Kind : quint8 { Other, Section, Key };
    enum class Ending : quint8 { None, Lf, CrLf, Cr };
    struct Line {
        quint32 start = 0;  // the text's bytes in m_bytes, unless edited
        quint32 length = 0; // (a run of Other lines holds their inner line ends)
        Ending ending = Ending::None;
        Kind kind = Kind::Other;
        qint32 edit = -1; // index of its text in m_edits when changed or added
    };

    QByteArrayView textOf(const Line& line) const;
    // The index of the section's header line; -1 when missing.
    qsizetype findSection(const QString& section) const;
    // The index of the key's line in the section; -1 when missing.
    qsizetype findKey(const QString& section, const QString& key) const;
    // The index after the section's last key line.
    qsizetype sectionInsertPoint(qsizetype header) const;
    Ending newLineEnding() const;
    void insertLine(qsizetype index, Kind kind, const QByteArray& text);
    void appendParsed(qsizetype start, qsizetype length, Ending ending);

    QString m_path;
    QByteArray m_bytes;
    QList<QByteArray> m_edits;
    QList<Line> m_lines;
    Ending m_firstEnding = Ending::None; // the ending new lines get
    bool m_refused = false;
};

// Parses an INI integer: optional sign and decimal digits, or "0x", "0X" or "$" followed by
// hexadecimal digits; the value must fit in an int. Returns false for anything else.
bool ParseIniInteger(const QString& text, int* value);
