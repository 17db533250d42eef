#include "app/patternspage.h"

#include "app/gridbody.h"
#include "app/gridutil.h"
#include "app/stringgrid.h"
#include "card/gridcolumns.h"
#include "card/patternsview.h"
#include "card/sovinfo.h"
#include "media/strgrid.h"

#include <QVBoxLayout>

PatternsPage::PatternsPage(SOV_Info& info, StrGrid& format, QWidget* parent)
    : QWidget(parent), m_info(info) {
    setObjectName(QStringLiteral("TabSheetPatterns"));
    m_grid = new StringGrid;
    m_grid->setObjectName(QStringLiteral("sgPatterns"));
    m_grid->setDefaultRowHeight(RowHeight);
    m_grid->setColCount(ColumnCount);
    m_grid->setRowCount(RowCount);
    m_grid->setFixedCols(0);
    m_grid->setFixedRows(PatternFixedRows);
    m_grid->setGridLines(StringGrid::FixedVertLine | StringGrid::FixedHorzLine |
                         StringGrid::VertLine | StringGrid::HorzLine);
    // Its pop-up menu (import and export) never opens.
    m_grid->setContextMenuPolicy(Qt::PreventContextMenu);
    format.AttachGrid(*m_grid);
    format.SetColumns(PatternColumns);
    UseStrGridDrawing(*m_grid);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    setEnabled(false);
}

void PatternsPage::ShowPatterns() {
    const PatternsView view = ::ShowPatterns(m_info);
    const int firstRow = m_grid->fixedRows();
    if (view.shown)
        SetGridBody(*m_grid, view.rows);
    else
        ClearGrid(*m_grid);
    m_grid->setTopRow(firstRow);
}
