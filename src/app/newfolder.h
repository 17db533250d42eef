#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Create New Folder": asks for the name of a new folder. It has no behaviour of its own;
// Select Folder fills its labels and reads the name. The name typed last stays for the
// next showing.
class TFormNewFolder : public QDialog {
    Q_OBJECT

public:
    explicit TFormNewFolder(QWidget* parent = nullptr);

    QLabel* labelNewFolderText() const { return m_labelNewFolderText; }
    QLabel* labelNewFolderParent() const { return m_labelNewFolderParent; }
    QLineEdit* editNewFolderName() const { return m_editNewFolderName; }
    QPushButton* buttonOK() const { return m_buttonOK; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_labelNewFolderText;
    QLabel* m_labelNewFolderParent;
    QLineEdit* m_editNewFolderName;
    QPushButton* m_buttonOK;
};
