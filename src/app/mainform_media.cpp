// The media centre's six lists: headings, filling, the first column's width, the player's
// buttons by the selected file, and the cell drawing.

#include "app/gridutil.h"
#include "app/mainform.h"
#include "app/songlistview.h"
#include "app/stringgrid.h"
#include "card/vocabulary.h"
#include "media/core/logfile.h"
#include "media/core/medialist.h"
#include "media/core/mediaplayertext.h"
#include "transfer/sizetext.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTabWidget>
#include <algorithm>

namespace {

constexpr int FirstColumnMin = 158;

// Rows that fit the grid's visible area, the heading row included.
int VisibleRows(const StringGrid& grid) {
    const int height =
        grid.maximumViewportSize().height() - (grid.horizontalScrollBar()->isVisibleTo(&grid)
                                                   ? grid.horizontalScrollBar()->sizeHint().height()
                                                   : 0);
    const int fixed = grid.fixedRows() * grid.defaultRowHeight();
    return std::max(0, height - fixed) / std::max(1, grid.defaultRowHeight()) + grid.fixedRows();
}

} // namespace

void TFormMain::InitMediaListHeader(int tab) {
    StringGrid* grid = m_mediaGrids.value(tab);
    if (!grid)
        return;
    grid->setColWidth(0, FirstColumnMin);
    grid->setColWidth(1, grid->fontMetrics().horizontalAdvance(QStringLiteral("5,555 MB")) +
                             2 * FontPointPixels(grid->font()));
    const QStringList headings = MediaListHeadings();
    grid->setCell(0, 0, headings[0]);
    grid->setCell(1, 0, headings[1]);
}

int TFormMain::FillMediaList(int tab) {
    StringGrid* grid = m_mediaGrids.value(tab);
    if (!grid)
        return 0;
    ClearGrid(*grid);
    const MediaListContent list = FillMediaListContent(m_info.rootPath(), tab);
    grid->setRowCount(std::max(list.count + 1, 2));
    for (int n = 0; n < list.count; ++n) {
        grid->setCell(0, n + 1, list.rows[n].value(0));
        grid->setCell(1, n + 1, list.rows[n].value(1));
    }
    grid->setRow(1);
    m_mediaStatusBars[tab]->setText(list.statusText);
    return list.count;
}

void TFormMain::RefreshMediaLists() {
    if (!m_info.hasSongs()) {
        for (int tab = 0; tab < m_mediaGrids.size(); ++tab) {
            StringGrid* grid = m_mediaGrids[tab];
            ClearGrid(*grid);
            grid->setRowCount(std::max(VisibleRows(*grid), grid->fixedRows() + 1));
            m_mediaStatusBars[tab]->setText(QString());
        }
        return;
    }
    m_player->setEnabled(true);
    int total = 0;
    for (int tab = 0; tab < m_mediaGrids.size(); ++tab) {
        m_mediaCounts[static_cast<std::size_t>(tab)] = FillMediaList(tab);
        total += m_mediaCounts[static_cast<std::size_t>(tab)];
    }
    for (StringGrid* grid : m_mediaGrids)
        grid->setRow(1);
    m_playerDeviceType = 0;
    m_player->setEnabled(total > 0);
    m_labelTime->setEnabled(total > 0);
    m_player->update();
    m_mediaPlayer->update();
}

void TFormMain::FitFirstColumn(StringGrid* grid) {
    if (!grid)
        return;
    // A grid on a hidden page has not laid out its viewport yet, so its client width is
    // worked out from its own size.
    const QScrollBar* bar = grid->verticalScrollBar();
    const int client = grid->maximumViewportSize().width() -
                       (bar->isVisibleTo(grid) ? bar->sizeHint().width() : 0);
    grid->setColWidth(0, std::max(FirstColumnMin, client - grid->colWidth(1) - 6));
}

QString TFormMain::selectedMediaName(StringGrid* grid) const {
    return grid ? TrimBlanks(grid->cell(0, grid->row())) : QString();
}

void TFormMain::UpdatePlayerButtons(StringGrid* grid) {
    const QString name = selectedMediaName(grid);
    const bool playable = !IsBlankText(name) && IsPlayableMediaName(name);
    m_player->setEnabledButtons(playable, playable);
}

void TFormMain::sgMediaCentreClick(StringGrid* grid) {
    UpdatePlayerButtons(grid);
    writeModeEntry(QStringLiteral("sgMediaCentreClick()  (end)  Mode"));
}

StringGrid* TFormMain::activeMediaGrid() const {
    const int index = m_mediaPages->currentIndex();
    if (index < 0 || !m_mediaPages->isTabVisible(index))
        return nullptr;
    return m_mediaGrids.value(index);
}

void TFormMain::PageControl2Change() {
    StringGrid* grid = activeMediaGrid();
    if (!grid)
        return;
    FitFirstColumn(grid);
    UpdatePlayerButtons(grid);
}

void TFormMain::writeModeEntry(const QString& label) {
    m_log.WriteEntry(label, PlayerModeText(m_player->mode()));
}

void TFormMain::DrawMediaCell(StringGrid& grid, QPainter& painter, int col, int row,
                              const QRect& rect, CellState state) {
    const QString text = grid.cell(col, row);
    const QPalette& colours = grid.palette();
    const bool enabled = grid.isEnabled();
    const QColor grey = colours.color(QPalette::Disabled, QPalette::Text);
    const QColor window = colours.color(QPalette::Active, QPalette::Base);
    QColor background;
    QColor font;
    if (row == 0) {
        background = grid.fixedColor();
        font = enabled ? colours.color(QPalette::Active, QPalette::ButtonText) : grey;
    } else if (row == grid.row()) {
        background =
            enabled ? colours.color(QPalette::Active, QPalette::Highlight) : grid.fixedColor();
        font = enabled ? window : grey;
    } else {
        background = enabled ? window : grid.fixedColor();
        font = enabled ? QColor(Qt::black) : grey;
    }
    FillCell(painter, rect, background, font);
    const int fontSize = FontPointPixels(grid.font());
    int offset = fontSize;
    if (col == 1)
        offset = rect.width() - grid.fontMetrics().horizontalAdvance(text) - fontSize;
    TextOut(painter, rect.left() + std::max(0, offset), rect.top() + 3, text);
    if (state.focused)
        DrawFocusRect(painter, rect);
}
