#include "app/songlistview.h"

#include "app/gridutil.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "transfer/sizetext.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

int FontPointPixels(const QFont& font) {
    return font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
}

SongListView::SongListView(SOV_Info& info, QWidget* parent)
    : QWidget(parent), m_info(info), m_grid(new StringGrid(this)), m_status(new QLabel(this)),
      m_popup(new QMenu(this)), m_copyAction(nullptr) {
    m_grid->setObjectName(QStringLiteral("sgSongList"));
    m_status->setObjectName(QStringLiteral("StatusBarSongList"));
    m_popup->setObjectName(QStringLiteral("PopupMenuSongList"));
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setFixedHeight(19);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_status);

    m_copyAction = m_popup->addAction(tr("Copy Song List to Clipboard"));
    m_copyAction->setObjectName(QStringLiteral("CopySongListtoClipboard1"));
    connect(m_copyAction, &QAction::triggered, this, &SongListView::CopySongListtoClipboard1Click);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this] { m_popup->popup(QCursor::pos()); });

    setUpColumns();
    m_grid->setDrawCell(
        [this](QPainter& painter, int col, int row, const QRect& rect, CellState state) {
            sgSongListDrawCell(painter, col, row, rect, state);
        });
    connect(m_grid, &StringGrid::cellClick, this, &SongListView::sgSongListClick);
}

void SongListView::setUpColumns() {
    const QStringList headings = SongListHeadings();
    m_grid->setColCount(static_cast<int>(headings.size()));
    m_grid->setRowCount(InitialRows);
    m_grid->setFixedCols(0);
    m_grid->setFixedRows(1);
    m_grid->setDefaultRowHeight(RowHeight);
    m_grid->setGridLines(StringGrid::FixedVertLine | StringGrid::FixedHorzLine);
    m_grid->setRowSelect(true);
    m_grid->setColSizing(true);
    const int sizeWidth = m_grid->fontMetrics().horizontalAdvance(QStringLiteral("5,555 MB")) +
                          2 * FontPointPixels(m_grid->font());
    const int widths[] = {80, 80, sizeWidth, 74, 62, 98};
    for (int col = 0; col < m_grid->colCount(); ++col) {
        m_grid->setColWidth(col, widths[col]);
        m_grid->setCell(col, 0, headings[col]);
    }
}

QString SongListView::statusText() const {
    return m_status->text();
}

void SongListView::setStatusText(const QString& text) {
    m_status->setText(text);
}

void SongListView::FillSongList() {
    ClearGrid(*m_grid);
    setStatusText(QString());
    const std::vector<SongListItem>& songs = m_info.songs();
    if (!m_info.hasSongs() || songs.empty())
        return;
    m_grid->setRowCount(static_cast<int>(songs.size()) + 1);
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const QStringList cells = SongListRow(songs[i]);
        for (int col = 0; col < cells.size() && col < m_grid->colCount(); ++col)
            m_grid->setCell(col, static_cast<int>(i) + 1, cells[col]);
    }
    setStatusText(SongListStatusText(songs));
}

QString SongListView::selectedSongId() const {
    return m_grid->cell(0, m_grid->row());
}

QString SongListView::selectedName() const {
    return m_grid->cell(1, m_grid->row());
}

void SongListView::setSelectedName(const QString& text) {
    m_grid->setCell(1, m_grid->row(), text);
}

void SongListView::sgSongListClick() {
    if (!IsBlankText(selectedSongId()))
        emit songChosen();
}

QString SongListView::clipboardText() const {
    return GridToText(GridRows(*m_grid), 0) + statusText() + QStringLiteral("\r\n\r\n");
}

void SongListView::CopySongListtoClipboard1Click() {
    QGuiApplication::clipboard()->setText(clipboardText());
}

int SongListView::textLeft(int col, const QRect& rect, const QString& text) const {
    const int textWidth = m_grid->fontMetrics().horizontalAdvance(text);
    int offset = FontPointPixels(m_grid->font());
    if (col == 3 || col == 4)
        offset = (rect.width() - textWidth) / 2;
    else if (col == 2)
        offset = rect.width() - textWidth - FontPointPixels(m_grid->font());
    return rect.left() + std::max(0, offset);
}

void SongListView::sgSongListDrawCell(QPainter& painter, int col, int row, const QRect& rect,
                                      CellState state) {
    const QPalette& palette = m_grid->palette();
    const bool enabled = m_grid->isEnabled();
    const QColor grey = palette.color(QPalette::Disabled, QPalette::Text);
    const QColor window = palette.color(QPalette::Active, QPalette::Base);
    QColor background;
    QColor text;
    if (row == 0) {
        background = m_grid->fixedColor();
        text = enabled ? palette.color(QPalette::Active, QPalette::ButtonText) : grey;
    } else if (row == m_grid->row()) {
        background =
            enabled ? palette.color(QPalette::Active, QPalette::Highlight) : m_grid->fixedColor();
        text = enabled ? window : grey;
    } else {
        background = enabled ? window : m_grid->fixedColor();
        text = enabled ? QColor(Qt::black) : grey;
    }
    FillCell(painter, rect, background, text);
    const QString cellText = m_grid->cell(col, row);
    TextOut(painter, textLeft(col, rect, cellText), rect.top() + 3, cellText);
    if (state.focused)
        DrawFocusRect(painter, rect);
}
