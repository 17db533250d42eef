#include "app/copyfiles.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox* QuestionBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    auto* box =
        new QMessageBox(icon, QApplication::applicationName(), text, QMessageBox::NoButton, parent);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    return box;
}

} // namespace

ConflictAnswer QtCopyQuestions::askConflict(QWidget* parent, const QString& target) {
    std::unique_ptr<QMessageBox> box(QuestionBox(
        parent, QMessageBox::Question,
        QStringLiteral("This folder already holds a file named\n%1\n\nReplace it?").arg(target)));
    const std::pair<ConflictAnswer, QPushButton*> buttons[] = {
        {ConflictAnswer::Replace, box->addButton(QStringLiteral("Replace"), QMessageBox::YesRole)},
        {ConflictAnswer::ReplaceAll,
         box->addButton(QStringLiteral("Replace All"), QMessageBox::YesRole)},
        {ConflictAnswer::Skip, box->addButton(QStringLiteral("Skip"), QMessageBox::NoRole)},
        {ConflictAnswer::SkipAll, box->addButton(QStringLiteral("Skip All"), QMessageBox::NoRole)},
        {ConflictAnswer::Cancel,
         box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole)}};
    box->setDefaultButton(buttons[2].second);
    box->exec();
    for (const auto& [answer, button] : buttons) {
        if (box->clickedButton() == button)
            return answer;
    }
    return ConflictAnswer::Cancel;
}

ErrorAnswer QtCopyQuestions::askError(QWidget* parent, const QString& path, const QString& reason) {
    std::unique_ptr<QMessageBox> box(
        QuestionBox(parent, QMessageBox::Warning,
                    QStringLiteral("Unable to copy\n%1\n\n%2").arg(path, reason)));
    const std::pair<ErrorAnswer, QPushButton*> buttons[] = {
        {ErrorAnswer::Retry, box->addButton(QStringLiteral("Retry"), QMessageBox::AcceptRole)},
        {ErrorAnswer::Skip, box->addButton(QStringLiteral("Skip"), QMessageBox::NoRole)},
        {ErrorAnswer::Cancel, box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole)}};
    box->setDefaultButton(buttons[0].second);
    box->exec();
    for (const auto& [answer, button] : buttons) {
        if (box->clickedButton() == button)
            return answer;
    }
    return ErrorAnswer::Cancel;
}
