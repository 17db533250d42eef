#pragma once

#include "app/core/settings.h"

#include <QDialog>

class QFileDialog;
class QLineEdit;
class QPushButton;
class TFormSelectFolder;

// "Preferences": the main backup folder and the converter program's path. Each showing
// starts from the values given by setPrefs(); on OK the caller takes prefs().
class TFormPreferences : public QDialog {
    Q_OBJECT

public:
    explicit TFormPreferences(TFormSelectFolder& selectFolder, QWidget* parent = nullptr);

    // The values the next showing starts from.
    void setPrefs(const Prefs& prefs) { m_prefs = prefs; }
    // The values in the dialog: "Main Backup Folder" and "BR Wave Converter" as typed.
    Prefs prefs() const;

    QLineEdit* editStartFolder() const { return m_editStartFolder; }
    QLineEdit* editWaveConverter() const { return m_editWaveConverter; }
    QPushButton* buttonOK() const { return m_buttonOK; }
    QPushButton* buttonCancel() const { return m_buttonCancel; }
    QFileDialog* openDialogWaveConverter() const { return m_openDialogWaveConverter; }

    // OK closes the dialog only while the main backup folder is blank or an existing
    // folder (also when Enter is pressed in the edit).
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void ButtonStartFolderBrowseClick();
    void ButtonWaveConverterBrowseClick();
    void EditStartFolderChange();
    // Returns true when the text is acceptable.
    bool EditStartFolderExit();
    void buildLayout(QPushButton* startBrowse, QPushButton* converterBrowse);

    TFormSelectFolder& m_selectFolder;
    Prefs m_prefs;
    QLineEdit* m_editStartFolder;
    QLineEdit* m_editWaveConverter;
    QPushButton* m_buttonOK;
    QPushButton* m_buttonCancel;
    QFileDialog* m_openDialogWaveConverter;
};
