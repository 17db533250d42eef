#pragma once

#include <QString>
#include <cstdio>

// The diagnostic log "Debug.log" that traces the media player. Whether it writes is fixed
// when it is built: switched off it never opens or writes anything. Switched on it
// replaces "Debug.log" in the current folder (or in a folder given for it), starts with a
// "Log started" entry and a blank line, and flushes every line the moment it is written.
// A log that cannot create its file stays silent.
class LogFile {
public:
    static constexpr const char* FileName = "Debug.log";

    explicit LogFile(bool enabled);
    // As above, with "Debug.log" placed in `folder` instead of the current folder.
    LogFile(bool enabled, const QString& folder);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // label + ":  " + text, as one line.
    void WriteEntry(const QString& label, const QString& text);
    // text alone; an empty text writes a blank line.
    void WriteLine(const QString& text);

    bool enabled() const { return m_enabled; }
    bool isOpen() const { return m_file != nullptr; }
    const QString& fileName() const { return m_fileName; }

private:
    void writeRaw(const QString& line);

    std::FILE* m_file = nullptr;
    QString m_fileName;
    bool m_enabled = false;
};

// "Log started" text: the local date in the short format, a blank, the time in the long one.
QString LogStartedText();
