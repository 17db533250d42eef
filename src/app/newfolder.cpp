#include "app/newfolder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* BoldLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TFormNewFolder::TFormNewFolder(QWidget* parent)
    : QDialog(parent), m_labelNewFolderText(BoldLabel(QStringLiteral("LabelNewFolderText"), this)),
      m_labelNewFolderParent(BoldLabel(QStringLiteral("LabelNewFolderParent"), this)),
      m_editNewFolderName(new QLineEdit(this)),
      m_buttonOK(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("FormNewFolder"));
    setWindowTitle(QStringLiteral("Create New Folder"));
    m_labelNewFolderParent->setFixedWidth(320);
    m_labelNewFolderParent->setTextFormat(Qt::PlainText);
    m_labelNewFolderText->setTextFormat(Qt::PlainText);
    m_editNewFolderName->setObjectName(QStringLiteral("EditNewFolderName"));
    m_editNewFolderName->setFixedWidth(320);
    auto* prompt = new QLabel(QStringLiteral("Enter new folder name:"), this);
    prompt->setBuddy(m_editNewFolderName);

    m_buttonOK->setObjectName(QStringLiteral("ButtonOK"));
    m_buttonOK->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    cancel->setAutoDefault(false);
    connect(m_buttonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_buttonOK);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_labelNewFolderText);
    layout->addWidget(m_labelNewFolderParent);
    layout->addSpacing(12);
    layout->addWidget(prompt);
    layout->addWidget(m_editNewFolderName);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(350, 213);
}

void TFormNewFolder::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_editNewFolderName->setFocus();
    m_editNewFolderName->selectAll();
}
