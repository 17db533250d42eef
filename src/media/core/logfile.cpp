#include "media/core/logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>

LogFile::LogFile(bool enabled) : LogFile(enabled, QString()) {
}

LogFile::LogFile(bool enabled, const QString& folder) {
    if (!enabled)
        return;
    m_enabled = true;
    m_fileName = QLatin1String(FileName);
    const QString path = folder.isEmpty() ? m_fileName : QDir(folder).filePath(m_fileName);
    m_file = std::fopen(QFile::encodeName(path).constData(), "w");
    WriteEntry(QStringLiteral("Log started"), LogStartedText());
    WriteLine(QString());
}

LogFile::~LogFile() {
    if (m_file)
        std::fclose(m_file);
}

void LogFile::WriteEntry(const QString& label, const QString& text) {
    writeRaw(label + QStringLiteral(":  ") + text);
}

void LogFile::WriteLine(const QString& text) {
    writeRaw(text);
}

void LogFile::writeRaw(const QString& line) {
    if (!m_file || !m_enabled)
        return;
    const QByteArray bytes = (line + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_file);
    std::fflush(m_file);
}

QString LogStartedText() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(now.time(), QLocale::LongFormat);
}
