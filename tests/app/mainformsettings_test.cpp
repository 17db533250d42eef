#include "app/support/mainwindowfixture.h"

#include "app/firstrun.h"
#include "app/foldertree.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The main window's settings: first run, placement, Preferences and the closing steps.
class MainFormSettingsTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void init() { setUpWindowFixture(); }
    void cleanup() { tearDownWindowFixture(); }

    // The first run opens the home folder and writes the settings on Exit only. Once they cannot be
    // written (a folder stands in the file's place) closing says so, naming the file.
    void firstRunWritesSettingsOnExit() {
        // The demo folder becomes the start folder of a first run; a missing demo folder or an
        // existing settings file leaves everything alone.
        const QString settings = path(u"first/sorvane.ini"_s);
        QVERIFY(QDir().mkpath(path(u"first"_s)));
        QVERIFY(!WriteFirstRunDefaultDir(settings, path(u"no-demo"_s)));
        QVERIFY(!QFileInfo::exists(settings));
        QVERIFY(WriteFirstRunDefaultDir(settings, path(u"backup"_s)));
        QVERIFY(!WriteFirstRunDefaultDir(settings, path(u"plain"_s)));
        const QString written = QString::fromUtf8(files().readFile(u"first/sorvane.ini"_s));
        QVERIFY(written.contains(u"[Paths]\nDefaultDir="_s + path(u"backup"_s)));

        TFormMain& window = open();
        QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(u"home"_s)));
        QVERIFY(!QFileInfo::exists(path(u"sorvane.ini"_s)));
        window.findChild<QAction*>(u"Exit1"_s)->trigger();
        checkSettingsHold({u"DefaultDir="_s + path(u"home"_s), u"[MainForm]\nWindowState=0"_s,
                           u"Width=%1"_s.arg(window.frameGeometry().width())});
        m_window.reset();
        QVERIFY(QFile::remove(path(u"sorvane.ini"_s)));
        QVERIFY(QDir(m_dir->path()).mkdir(u"sorvane.ini"_s));
        open().close();
        QVERIFY(
            m_messages.only(MessageKind::Error, u"Unable to write to "_s + path(u"sorvane.ini"_s)));
    }

    // A normal placement (hexadecimal values too) is applied; a maximised window keeps the
    // stored one on closing.
    void storedPlacementIsRestoredWhenSane() {
        writeSettings(u"[MainForm]\nWindowState=0\nTop=$20\nLeft=0x1e\nWidth=800\n"
                      "Height=650\n"_s);
        TFormMain& window = open();
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(30, 32));
        QCOMPARE(window.frameGeometry().height(), 650);
        m_window.reset();
        const QString maximised =
            u"[MainForm]\nWindowState=2\nTop=7\nLeft=9\nWidth=640\nHeight=480\n"_s;
        writeSettings(maximised);
        QVERIFY(open().isMaximized());
        m_window->close();
        checkSettingsHold({maximised});
        m_window.reset();
        // A placement at the end of the integer range (which overflowed while the window applied
        // it) or off every screen: the window opens at its designed size, centred, and that is
        // what is stored.
        for (const char* placement : {"Top=10\nLeft=2147483647\nWidth=823\nHeight=589",
                                      "Top=5000\nLeft=5000\nWidth=700\nHeight=500"}) {
            writeSettings(u"[MainForm]\nWindowState=0\n"_s + QLatin1String(placement) + u'\n');
            TFormMain& placed = open();
            QVERIFY2(placed.size() == QSize(TFormMain::DesignWidth, TFormMain::DesignHeight) &&
                         placed.pos() == centred(),
                     placement);
            placed.close();
            checkSettingsHold({u"Left=%1"_s.arg(centred().x()), u"Top=%1"_s.arg(centred().y())});
            m_window.reset();
        }
    }

    // Cancelling Preferences changes nothing; confirming keeps and writes the choices at once
    // (the placement too, although maximised) and switches the Wave button on although the
    // folder shown has no songs, until the next folder change applies the song rule again.
    void preferencesCancelledOrConfirmed() {
        writeSettings(defaultDirSettings(u"plain"_s, u"[MainForm]\nWindowState=2\n"_s));
        TFormMain& window = open();
        makeDialogs();
        const QString before = settingsText();
        for (QPushButton* button : {m_preferences->buttonCancel(), m_preferences->buttonOK()}) {
            QTimer::singleShot(0, m_preferences.get(), [this, button] {
                QCOMPARE(m_preferences->editStartFolder()->text(), path(u"plain"_s));
                m_preferences->editStartFolder()->setText(path(u"backup"_s));
                m_preferences->editWaveConverter()->setText(u"/opt/brwc/conv.exe"_s);
                button->click();
            });
            QVERIFY(!window.ToolButtonWave()->isEnabled());
            QCOMPARE(settingsText(), before);
            window.findChild<QAction*>(u"Preferences1"_s)->trigger();
        }
        QVERIFY(window.ToolButtonWave()->isEnabled());
        checkSettingsHold({u"DefaultDir="_s + path(u"backup"_s),
                           u"WaveConverter=/opt/brwc/conv.exe"_s,
                           u"Top=%1"_s.arg(window.frameGeometry().top()),
                           u"Left=%1"_s.arg(window.frameGeometry().left())});
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"home"_s)));
        QVERIFY(!window.ToolButtonWave()->isEnabled());
    }

private:
    void checkSettingsHold(const QStringList& lines) const {
        const QString text = settingsText();
        for (const QString& line : lines)
            QVERIFY2(text.contains(line), qPrintable(line));
    }
    static QPoint centred() {
        const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
        return desk.center() - QPoint(TFormMain::DesignWidth / 2, TFormMain::DesignHeight / 2);
    }
};

QTEST_MAIN(MainFormSettingsTest)
#include "mainformsettings_test.moc"
