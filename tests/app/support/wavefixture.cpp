#include "app/support/wavefixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

void WaveFixture::setUpWaveFixture() {
    setUpWindowFixture();
    m_savedPath = qgetenv("PATH");
    QVERIFY(QDir().mkpath(path(QStringLiteral("conv"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("run"))));
    QVERIFY(QFile::link(QStringLiteral("/"), path(QStringLiteral("wine/dosdevices/z:"))));
    m_fakeLauncher = FakeProcessLauncher();
    m_virtualDriveTimeout = ShortWaitMs;
}

void WaveFixture::tearDownWaveFixture() {
    qputenv("PATH", m_savedPath);
    tearDownWindowFixture();
}

bool WaveFixture::writeScript(const QString& relative, const QByteArray& body) {
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) < 0)
        return false;
    file.close();
    return file.setPermissions(file.permissions() | QFile::ExeOwner);
}

QString WaveFixture::writeRecordingConverter(const QByteArray& sleepSeconds) {
    const QByteArray run = path(QStringLiteral("run")).toLocal8Bit();
    const QByteArray body = "out='" + run +
                            "'\n"
                            "echo \"$0\" > \"$out/arg0\"\n"
                            "echo \"$#:$*\" > \"$out/args\"\n"
                            "pwd > \"$out/pwd\"\n"
                            "readlink \"$WINEPREFIX/dosdevices/y:\" > \"$out/link\"\n"
                            "ls \"$WINEPREFIX/dosdevices/y:/Roland/BR0\" > \"$out/songs\"\n"
                            "cat \"$(dirname \"$0\")/BRWC.ini\" > \"$out/ini\"\n"
                            "sleep " +
                            sleepSeconds + "\nexit 3\n";
    if (!writeScript(QStringLiteral("conv/convert.sh"), body))
        return QString();
    return path(QStringLiteral("conv/convert.sh"));
}

void WaveFixture::writeWaveSettings(const QString& folder, const QString& converter) {
    writeSettings(defaultDirSettings(folder, QStringLiteral("WaveConverter=") + converter +
                                                 QStringLiteral("\n")));
}

QByteArray WaveFixture::recorded(const QString& name) const {
    QFile file(path(QStringLiteral("run/") + name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QByteArray WaveFixture::brwcIni() const {
    QFile file(path(QStringLiteral("conv/BRWC.ini")));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QString WaveFixture::windowsPath(const QString& relative) const {
    QString real = QDir(path(relative)).canonicalPath();
    real.replace(u'/', u'\\');
    return QStringLiteral("Z:") + real;
}
