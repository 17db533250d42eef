#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// "Confirm Backup/Restore": the source, destination and amount of data of a backup or
// restore, with OK and Cancel. Each flow sets the caption and the text before showing it.
class TFormBackupRestoreConfirm : public QDialog {
    Q_OBJECT

public:
    static constexpr int DesignWidth = 500;
    static constexpr int DesignHeight = 210;
    static constexpr int LabelWidth = 470;
    static constexpr int LabelHeight = 100;

    explicit TFormBackupRestoreConfirm(QWidget* parent = nullptr);

    QLabel* LabelBackupRestore() const { return m_label; }
    QPushButton* btnOK() const { return m_ok; }
    QPushButton* btnCancel() const { return m_cancel; }

    // Sets caption and text, shows the dialog modally centred over its owner; true on OK.
    bool confirm(const QString& caption, const QString& text);
    // The text as the flow set it (line breaks "\r\n"); the label shows it broken into lines.
    QString text() const { return m_text; }

private:
    QString m_text;
    QLabel* m_label;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
