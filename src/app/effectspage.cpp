#include "app/effectspage.h"

#include "app/gridbody.h"
#include "app/gridutil.h"
#include "app/stringgrid.h"
#include "card/effectsfile.h"
#include "card/effectsview.h"
#include "card/gridcolumns.h"
#include "card/sovinfo.h"
#include "media/strgrid.h"

#include <QLatin1String>
#include <QTabWidget>
#include <QVBoxLayout>

EffectsPage::EffectsPage(SOV_Info& info, StrGrid& format, QWidget* parent)
    : QWidget(parent), m_info(info) {
    setObjectName(QStringLiteral("TabSheetEffects"));
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    for (int b = 0; b < Banks; ++b) {
        const QString caption = QLatin1String(EffectBanks[static_cast<std::size_t>(b)].caption);
        auto* page = new QWidget;
        page->setObjectName(u"TabSheetFX_" + caption);
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(buildGrid(b, format));
        m_pages->addTab(page, caption);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
}

StringGrid* EffectsPage::grid(int bank) const {
    return bank >= 0 && bank < Banks ? m_grids[static_cast<std::size_t>(bank)] : nullptr;
}

// The grid is set up with the four columns of its format table, then cut to the three it
// shows.
StringGrid* EffectsPage::buildGrid(int bank, StrGrid& format) {
    const EffectBank& fx = EffectBanks[static_cast<std::size_t>(bank)];
    auto* grid = new StringGrid;
    grid->setObjectName(u"sgFX_" + QLatin1String(fx.caption));
    grid->setDefaultRowHeight(RowHeight);
    grid->setColCount(static_cast<int>(EffectColumns.size()));
    grid->setRowCount(EffectFixedRows + fx.patches);
    grid->setFixedCols(0);
    grid->setFixedRows(EffectFixedRows);
    grid->setGridLines(StringGrid::FixedVertLine | StringGrid::FixedHorzLine |
                       StringGrid::VertLine | StringGrid::HorzLine);
    grid->setContextMenuPolicy(Qt::PreventContextMenu);
    format.AttachGrid(*grid);
    format.SetColumns(EffectColumns);
    grid->setColCount(EffectShownColumns);
    UseStrGridDrawing(*grid);
    grid->setSelectCellFilter([](int col, int) { return EffectsCellSelectable(col); });
    grid->selectCell(NameColumn, EffectFixedRows);
    m_grids[static_cast<std::size_t>(bank)] = grid;
    return grid;
}

void EffectsPage::ShowEffects() {
    const EffectsView view = ::ShowEffects(m_info);
    for (int b = 0; b < Banks; ++b) {
        StringGrid& grid = *m_grids[static_cast<std::size_t>(b)];
        if (view.shown) {
            SetGridBody(grid, view.banks[static_cast<std::size_t>(b)].rows);
            continue;
        }
        ClearGrid(grid);
        grid.selectCell(NameColumn, grid.fixedRows());
    }
}
