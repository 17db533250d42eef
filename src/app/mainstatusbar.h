#pragma once

#include <QString>
#include <QWidget>

// The main window's status bar: two panels, both drawn by the window. Panel 0 (50 pixels)
// shows "BR" on green when the current folder holds recorder songs; panel 1 takes the rest
// of the width and shows the current folder's path.
class MainStatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 22;
    static constexpr int Panel0Width = 50;

    explicit MainStatusBar(QWidget* parent = nullptr);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    // The panel's drawing rectangle inside its bevel.
    QRect panelRect(int panel) const;
    // The x at which a panel's text starts.
    int textLeft(int panel) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void MainStatusBarDrawPanel(QPainter& painter, int panel, const QRect& rect);

    QString m_texts[2];
};
