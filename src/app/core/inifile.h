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
// or escapes), trimmed of surrounding blanks. Every line the program does not change is
// kept byte for byte, with its own line ending (CRLF or LF); unknown sections, keys and
// comments stay where they are. Values are read and written as UTF-8 (a value that is not
// valid UTF-8 reads as Latin-1).
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    // Reads the file. A missing or unreadable file reads as empty.
    void load();
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
    // and renamed over it. A read-only file is not replaced. False on failure, and the file
    // is then left as it was.
    bool save() const;

private:
    struct Line {
        QByteArray text; // without its line ending
        QByteArray ending;
    };

    // The index of the section's header line; -1 when missing.
    qsizetype findSection(const QString& section) const;
    // The index of the key's line in the section; -1 when missing.
    qsizetype findKey(const QString& section, const QString& key) const;
    // The index after the section's last line (its trailing blank lines excluded).
    qsizetype sectionInsertPoint(qsizetype header) const;
    QByteArray newLineEnding() const;
    void insertLine(qsizetype index, const QByteArray& text);

    QString m_path;
    QList<Line> m_lines;
};

// Parses an INI integer: optional sign and decimal digits, or "0x", "0X" or "$" followed by
// hexadecimal digits; the value must fit in an int. Returns false for anything else.
bool ParseIniInteger(const QString& text, int* value);
