#pragma once

#include <QWidget>

class SOV_Info;
class StrGrid;
class StringGrid;

// The "Patterns" page: the 100 song patterns of the current song in sgPatterns. The page is
// created disabled, so its grid takes no input until the song controls are enabled.
class PatternsPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 4;
    static constexpr int RowCount = 102;
    static constexpr int RowHeight = 15;

    PatternsPage(SOV_Info& info, StrGrid& format, QWidget* parent = nullptr);

    StringGrid* grid() const { return m_grid; }

    void ShowPatterns();

private:
    SOV_Info& m_info;
    StringGrid* m_grid = nullptr;
};
