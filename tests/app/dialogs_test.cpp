#include "app/aboutform.h"
#include "app/core/settings.h"
#include "app/messages.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void aboutBoxShowsNameAndVersion();
    void aboutPictureIsDrawn();
    void aboutOkCloses();
    void messageTextBreaksLines();
    void messageBoxesShowTextTitleAndIcon_data();
    void messageBoxesShowTextTitleAndIcon();
};

void DialogsTest::initTestCase() {
    QApplication::setApplicationName(QStringLiteral("Sorvane"));
}

void DialogsTest::aboutBoxShowsNameAndVersion() {
    TFormAbout about(VersionLabelText());
    QCOMPARE(about.windowTitle(), QStringLiteral("About Sorvane"));
    QCOMPARE(about.versionLabel()->text(), QStringLiteral("Version 1.05"));
    QCOMPARE(about.versionLabel()->objectName(), QStringLiteral("lblAboutVersion"));
    QVERIFY(about.versionLabel()->font().bold());
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    QVERIFY(texts.contains(QStringLiteral("Sorvane")));
    QCOMPARE(about.size(), QSize(411, 285));
}

void DialogsTest::aboutPictureIsDrawn() {
    const QImage picture = TFormAbout::AboutPicture().toImage();
    QCOMPARE(picture.size(), QSize(269, 136));
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 4) {
        for (int x = 0; x < picture.width(); x += 4) {
            colours.insert(picture.pixel(x, y));
        }
    }
    // A drawing, not a plain fill: the card, its label and the level bars.
    QVERIFY(colours.size() > 10);
    QVERIFY(colours.contains(qRgb(255, 255, 0)));
}

void DialogsTest::aboutOkCloses() {
    TFormAbout about(VersionLabelText());
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("btnAboutOK")), Qt::LeftButton);
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(!about.isVisible());
}

void DialogsTest::messageTextBreaksLines() {
    QCOMPARE(MessageDisplayText(QStringLiteral("\rThere is no disc in the drive.")),
             QStringLiteral("\nThere is no disc in the drive."));
    QCOMPARE(MessageDisplayText(QStringLiteral("a\r\nb\rc\nd\r\r\ne")),
             QStringLiteral("a\nb\nc\nd\n\ne"));
}

void DialogsTest::messageBoxesShowTextTitleAndIcon_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::newRow("plain") << int(MessageKind::Plain) << int(QMessageBox::NoIcon);
    QTest::newRow("information") << int(MessageKind::Information) << int(QMessageBox::Information);
    QTest::newRow("warning") << int(MessageKind::Warning) << int(QMessageBox::Warning);
    QTest::newRow("error") << int(MessageKind::Error) << int(QMessageBox::Critical);
}

void DialogsTest::messageBoxesShowTextTitleAndIcon() {
    QFETCH(int, kind);
    QFETCH(int, icon);
    QString title;
    QString text;
    int shownIcon = -1;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        shownIcon = int(box->icon());
        box->button(QMessageBox::Ok)->click();
    });
    QtMessageBoxes boxes;
    boxes.show(nullptr, MessageKind(kind),
               QStringLiteral("Could not create new folder named\r\n\"/a/<b>\""));
    QCOMPARE(title, QStringLiteral("Sorvane"));
    QCOMPARE(text, QStringLiteral("Could not create new folder named\n\"/a/<b>\""));
    QCOMPARE(shownIcon, icon);
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
