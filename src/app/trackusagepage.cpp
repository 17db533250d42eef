#include "app/trackusagepage.h"

#include "app/gridutil.h"
#include "app/stringgrid.h"
#include "transfer/sizetext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int GridSize = TrackUsage::Tracks + 1;
const QColor UsedColour(0, 255, 0);

} // namespace

TrackUsagePage::TrackUsagePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheetTracks"));
    m_grid = new StringGrid;
    m_grid->setObjectName(QStringLiteral("sgTrackUsage"));
    m_grid->setDefaultColWidth(DefaultColWidth);
    m_grid->setDefaultRowHeight(DefaultRowHeight);
    m_grid->setColCount(GridSize);
    m_grid->setRowCount(GridSize);
    m_grid->setFixedCols(1);
    m_grid->setFixedRows(1);
    m_grid->setGridLines(StringGrid::FixedVertLine | StringGrid::FixedHorzLine |
                         StringGrid::VertLine | StringGrid::HorzLine);
    const QList<QStringList> texts = TrackUsageGridTexts();
    for (int row = 0; row < std::min<int>(GridSize, texts.size()); ++row) {
        for (int col = 0; col < std::min<int>(GridSize, texts[row].size()); ++col)
            m_grid->setCell(col, row, texts[row][col]);
    }
    m_grid->setDrawCell(
        [this](QPainter& painter, int col, int row, const QRect& rect, CellState state) {
            sgTrackUsageDrawCell(painter, col, row, rect, state);
        });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
}

void TrackUsagePage::loadTrackUsage(const QString& folder, const QString& songId, bool haveSongs) {
    m_usage = TrackUsage();
    if (haveSongs && !IsBlankText(songId))
        m_usage = LoadTrackUsage(TakeEvtFile(folder, songId));
    ClearGrid(*m_grid);
    m_grid->viewport()->update();
}

void TrackUsagePage::setBrEnabled(bool on) {
    m_grid->setColor(on ? palette().color(QPalette::Active, QPalette::Base) : m_grid->fixedColor());
}

void TrackUsagePage::sgTrackUsageDrawCell(QPainter& painter, int col, int row, const QRect& rect,
                                          CellState state) {
    const bool enabled = m_grid->isEnabled();
    const QPalette& palette = m_grid->palette();
    QColor fill = m_grid->fixedColor();
    if (!state.fixed && enabled) {
        fill = m_usage.isUsed(col - 1, row - 1) ? UsedColour
                                                : palette.color(QPalette::Active, QPalette::Base);
    }
    const QColor text = enabled ? palette.color(QPalette::Active, QPalette::ButtonText)
                                : palette.color(QPalette::Disabled, QPalette::Text);
    FillCell(painter, rect, fill, text);
    const QString caption = m_grid->cell(col, row);
    const int width = painter.fontMetrics().horizontalAdvance(caption);
    TextOut(painter, rect.left() + std::max(0, (rect.width() - width) / 2), rect.top() + TextTop,
            caption);
}
