#pragma once

#include <QWidget>
#include <functional>

class ArrangementTabBar;
class QComboBox;
class QLabel;
class QMenu;
class SOV_Info;
class StrGrid;
class StringGrid;

// The "Arrangements" page: the tab strip TabControl1 with one tab per arrangement, the step
// grid sgArrange, the drum kit box and the playing time of the arrangement of the chosen
// tab. Read-only; the grid's pop-up menu copies it to the clipboard.
class ArrangementsPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int Arrangements = 5;
    static constexpr int ColumnCount = 7;
    static constexpr int RowCount = 52;
    static constexpr int RowHeight = 15;

    ArrangementsPage(SOV_Info& info, StrGrid& format, QWidget* parent = nullptr);

    ArrangementTabBar* tabControl() const { return m_tabs; }
    StringGrid* grid() const { return m_grid; }
    QComboBox* drumKitBox() const { return m_drumKit; }
    QLabel* durationLabel() const { return m_duration; }
    QMenu* popupMenu() const { return m_popup; }

    // Receives the clipboard text; the system clipboard unless replaced.
    void setClipboardWriter(std::function<void(const QString&)> writer) {
        m_clipboard = std::move(writer);
    }

    // Refills the captions, the drum kit box, the grid and the time for the chosen tab.
    void ShowArrangement();
    // The blank drum kit item, for songs that have no drum kit.
    void showBlankDrumKit();
    // Enables or greys the controls on the tab strip and the grid's background.
    void setBrEnabled(bool on);

    // "Copy Arrangement to Clipboard": the grid from row 0 as tab-separated text.
    void CopyArrangementtoClipboard1Click();

private:
    QWidget* buildSidePanel();
    void TabControl1Change();

    SOV_Info& m_info;
    ArrangementTabBar* m_tabs = nullptr;
    StringGrid* m_grid = nullptr;
    QWidget* m_sidePanel = nullptr;
    QLabel* m_drumKitLabel = nullptr;
    QComboBox* m_drumKit = nullptr;
    QLabel* m_duration = nullptr;
    QMenu* m_popup = nullptr;
    std::function<void(const QString&)> m_clipboard;
};
