#include "app/support/wavefixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

void WaveFixture::setUpWaveFixture() {
    setUpWindowFixture();
    m_savedPath = qgetenv("PATH");
    QVERIFY(QDir().mkpath(path(QStringLiteral("conv"))));
    QVERIFY(QFile::link(QStringLiteral("/"), path(QStringLiteral("wine/dosdevices/z:"))));
    m_fakeLauncher = FakeProcessLauncher();
    m_virtualDriveTimeout = ShortWaitMs;
}

void WaveFixture::tearDownWaveFixture() {
    qputenv("PATH", m_savedPath);
    tearDownWindowFixture();
}

QString WaveFixture::writeScript(const QString& relative, const QByteArray& body) {
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) < 0)
        return QString();
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return file.fileName();
}

TFormMain& WaveFixture::openWith(const QString& folder, const QString& converter,
                                 ProcessLauncher& launcher) {
    writeSettings(defaultDirSettings(folder, QStringLiteral("WaveConverter=") + converter +
                                                 QStringLiteral("\n")));
    m_launcher = &launcher;
    return open();
}

QByteArray WaveFixture::contents(const QString& relative) const {
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WaveFixture::windowsPath(const QString& relative) const {
    QString real = QDir(path(relative)).canonicalPath();
    real.replace(u'/', u'\\');
    return QStringLiteral("Z:") + real;
}
