#include "app/messages.h"

#include <QApplication>
#include <QMessageBox>

QString MessageDisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtMessageBoxes::show(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(IconOf(kind), QApplication::applicationName(), MessageDisplayText(text),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtMessageBoxes::showDetailed(QWidget* parent, MessageKind kind, const QString& text,
                                  const QString& details) {
    QMessageBox box(IconOf(kind), QApplication::applicationName(), MessageDisplayText(text),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}
