#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <unistd.h>

TempFolder::TempFolder() : m_dir(QDir::tempPath() + QStringLiteral("/sorvane-test-XXXXXX")) {
}

ScopedDefaultLocale::ScopedDefaultLocale(const QLocale& locale) : m_saved(QLocale()) {
    QLocale::setDefault(locale);
}

ScopedDefaultLocale::~ScopedDefaultLocale() {
    QLocale::setDefault(m_saved);
}

ScopedEnv::ScopedEnv(const char* name, const char* value)
    : m_name(name), m_saved(qgetenv(name)), m_hadValue(qEnvironmentVariableIsSet(name)) {
    if (value)
        qputenv(name, QByteArray(value));
    else
        qunsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (m_hadValue)
        qputenv(m_name.constData(), m_saved);
    else
        qunsetenv(m_name.constData());
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool RunningAsRoot() {
    return geteuid() == 0;
}
