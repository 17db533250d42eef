#include "app/preferences.h"

#include "app/selectfolder.h"
#include "transfer/sizetext.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPushButton* Button(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QLineEdit* Edit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(313);
    return edit;
}

} // namespace

TFormPreferences::TFormPreferences(TFormSelectFolder& selectFolder, QWidget* parent)
    : QDialog(parent), m_selectFolder(selectFolder),
      m_editStartFolder(Edit(QStringLiteral("EditStartFolder"), this)),
      m_editWaveConverter(Edit(QStringLiteral("EditWaveConverter"), this)),
      m_buttonOK(Button(QStringLiteral("OK"), QStringLiteral("ButtonOK"), this)),
      m_buttonCancel(Button(QStringLiteral("Cancel"), QStringLiteral("ButtonCancel"), this)),
      m_openDialogWaveConverter(new QFileDialog(this)) {
    setObjectName(QStringLiteral("FormPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    auto* startBrowse =
        Button(QStringLiteral("Browse"), QStringLiteral("ButtonStartFolderBrowse"), this);
    auto* converterBrowse =
        Button(QStringLiteral("Browse"), QStringLiteral("ButtonWaveConverterBrowse"), this);
    buildLayout(startBrowse, converterBrowse);
    // Enter in an edit means OK, never a Browse button.
    startBrowse->setAutoDefault(false);
    converterBrowse->setAutoDefault(false);
    m_buttonCancel->setAutoDefault(false);
    m_buttonOK->setDefault(true);

    m_openDialogWaveConverter->setObjectName(QStringLiteral("OpenDialogWaveConverter"));
    m_openDialogWaveConverter->setFileMode(QFileDialog::ExistingFile);
    m_openDialogWaveConverter->setAcceptMode(QFileDialog::AcceptOpen);
    m_openDialogWaveConverter->setNameFilters(
        {QStringLiteral("Programs (*.exe)"), QStringLiteral("All files (*)")});
    m_openDialogWaveConverter->setSizeGripEnabled(true);

    connect(startBrowse, &QPushButton::clicked, this,
            &TFormPreferences::ButtonStartFolderBrowseClick);
    connect(converterBrowse, &QPushButton::clicked, this,
            &TFormPreferences::ButtonWaveConverterBrowseClick);
    connect(m_buttonOK, &QPushButton::clicked, this, &TFormPreferences::accept);
    connect(m_buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_editStartFolder, &QLineEdit::textChanged, this,
            &TFormPreferences::EditStartFolderChange);
    m_editStartFolder->installEventFilter(this);

    setTabOrder(m_editStartFolder, m_editWaveConverter);
    setTabOrder(m_editWaveConverter, startBrowse);
    setTabOrder(startBrowse, converterBrowse);
    setTabOrder(converterBrowse, m_buttonOK);
    setTabOrder(m_buttonOK, m_buttonCancel);
    resize(527, 195);
}

void TFormPreferences::buildLayout(QPushButton* startBrowse, QPushButton* converterBrowse) {
    auto* startLabel = new QLabel(QStringLiteral("Main Backup Folder:"), this);
    startLabel->setObjectName(QStringLiteral("LabelStartFolder"));
    startLabel->setBuddy(m_editStartFolder);
    auto* converterLabel = new QLabel(QStringLiteral("BR Wave Converter:"), this);
    converterLabel->setObjectName(QStringLiteral("LabelWaveConverter"));
    converterLabel->setBuddy(m_editWaveConverter);

    auto* grid = new QGridLayout;
    grid->addWidget(startLabel, 0, 0);
    grid->addWidget(m_editStartFolder, 0, 1);
    grid->addWidget(startBrowse, 0, 2);
    grid->addWidget(converterLabel, 1, 0);
    grid->addWidget(m_editWaveConverter, 1, 1);
    grid->addWidget(converterBrowse, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_buttonOK);
    buttons->addWidget(m_buttonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
}

Prefs TFormPreferences::prefs() const {
    return Prefs{m_editStartFolder->text(), m_editWaveConverter->text()};
}

void TFormPreferences::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

void TFormPreferences::FormShow() {
    m_editStartFolder->setText(m_prefs.DefaultDir);
    m_selectFolder.setDirectory(m_prefs.DefaultDir);
    m_editWaveConverter->setText(m_prefs.WaveConverter);
    const QFileInfo converter(m_prefs.WaveConverter);
    if (!IsBlankText(m_prefs.WaveConverter)) {
        m_openDialogWaveConverter->setDirectory(converter.absolutePath());
        m_openDialogWaveConverter->selectFile(converter.fileName());
    }
    m_editStartFolder->setFocus();
}

void TFormPreferences::ButtonStartFolderBrowseClick() {
    if (m_selectFolder.exec() == QDialog::Accepted) {
        m_editStartFolder->setText(m_selectFolder.directory());
    }
}

void TFormPreferences::ButtonWaveConverterBrowseClick() {
    if (m_openDialogWaveConverter->exec() != QDialog::Accepted) {
        return;
    }
    const QStringList chosen = m_openDialogWaveConverter->selectedFiles();
    if (!chosen.isEmpty()) {
        m_editWaveConverter->setText(QDir::toNativeSeparators(chosen.first()));
    }
}

void TFormPreferences::EditStartFolderChange() {
    m_buttonOK->setEnabled(true);
}

bool TFormPreferences::EditStartFolderExit() {
    const QString text = m_editStartFolder->text();
    if (IsBlankText(text) || QFileInfo(text).isDir()) {
        m_buttonOK->setEnabled(true);
        return true;
    }
    m_buttonOK->setEnabled(false);
    // The edit is still losing the focus: take it back once that has finished.
    QTimer::singleShot(0, m_editStartFolder, [edit = m_editStartFolder] {
        if (edit->isVisible()) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    });
    return false;
}

bool TFormPreferences::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editStartFolder && event->type() == QEvent::FocusOut) {
        // Only a move of the focus to another control of the dialog leaves the edit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            EditStartFolderExit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormPreferences::accept() {
    if (EditStartFolderExit()) {
        QDialog::accept();
    }
}
