#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

// "About Sorvane": the program's picture, its name, the version label and the OK button.
class TFormAbout : public QDialog {
    Q_OBJECT

public:
    // versionText: the main window's version label text ("Version 1.05").
    explicit TFormAbout(const QString& versionText, QWidget* parent = nullptr);

    QLabel* versionLabel() const { return m_lblAboutVersion; }

    // The About picture, 269 x 136 pixels: a recorder's memory card beside a waveform.
    static QPixmap AboutPicture();

private:
    QLabel* m_lblAboutVersion;
};
