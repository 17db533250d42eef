#pragma once

#include <QWidget>
#include <array>

class QTabWidget;
class SOV_Info;
class StrGrid;
class StringGrid;

// The "Effects" page: the page control PageControl1 with one grid per effect bank (GTR,
// MIC, LIN, SML, MTK) listing patch, name and algorithm. Only the name column can be
// selected; the grids have no pop-up menu.
class EffectsPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int Banks = 5;
    static constexpr int RowHeight = 15;
    static constexpr int NameColumn = 1;

    EffectsPage(SOV_Info& info, StrGrid& format, QWidget* parent = nullptr);

    QTabWidget* pageControl() const { return m_pages; }
    StringGrid* grid(int bank) const;

    void ShowEffects();

private:
    StringGrid* buildGrid(int bank, StrGrid& format);

    SOV_Info& m_info;
    QTabWidget* m_pages = nullptr;
    std::array<StringGrid*, Banks> m_grids{};
};
