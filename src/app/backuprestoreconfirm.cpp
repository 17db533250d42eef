#include "app/backuprestoreconfirm.h"

#include "app/messages.h"

#include <QLabel>
#include <QPushButton>

TFormBackupRestoreConfirm::TFormBackupRestoreConfirm(QWidget* parent)
    : QDialog(parent), m_label(new QLabel(this)), m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Confirm Backup/Restore"));
    setFixedSize(DesignWidth, DesignHeight);
    m_label->setObjectName(QStringLiteral("LabelBackupRestore"));
    m_label->setGeometry((DesignWidth - LabelWidth) / 2, 16, LabelWidth, LabelHeight);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(false);
    QFont font = m_label->font();
    font.setPixelSize(13);
    m_label->setFont(font);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_ok->setGeometry(DesignWidth / 2 - 90, 150, 75, 25);
    m_cancel->setGeometry(DesignWidth / 2 + 15, 150, 75, 25);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormBackupRestoreConfirm::confirm(const QString& caption, const QString& text) {
    setWindowTitle(caption);
    m_text = text;
    m_label->setText(MessageDisplayText(text));
    if (QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        move(frame.topLeft());
    }
    return exec() == QDialog::Accepted;
}
