#pragma once

#include <QString>
#include <QWidget>

// One of the window's section headers: an 18-pixel green bar with a yellow, bold italic
// Arial caption 8 pixels from the left. A double click is reported to the owner.
class SectionHeader : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 18;

    SectionHeader(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    static QColor Background();    // green (0, 128, 0)
    static QColor CaptionColour(); // yellow (255, 255, 0)

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString m_caption;
};
