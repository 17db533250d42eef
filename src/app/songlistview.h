#pragma once

#include "app/stringgrid.h"

#include <QString>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class SOV_Info;

// The song list: the grid sgSongList (one heading row, six columns, whole-row selection,
// owner-drawn cells) and its one-panel status bar StatusBarSongList. It shows the songs of
// the card content object; choosing a row that holds a song asks the window to load it.
class SongListView : public QWidget {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;
    static constexpr int InitialRows = 10;

    explicit SongListView(SOV_Info& info, QWidget* parent = nullptr);

    StringGrid* grid() const { return m_grid; }
    QMenu* popupMenu() const { return m_popup; }
    QAction* copyAction() const { return m_copyAction; }
    QString statusText() const;

    // Refills the grid from the card content object (after a folder was loaded).
    void FillSongList();
    // The selected row's "Song" cell (untrimmed) and "Name" cell.
    QString selectedSongId() const;
    QString selectedName() const;
    // Rewrites the "Name" cell of the selected row (after a rename).
    void setSelectedName(const QString& text);

    // The text "Copy Song List to Clipboard" copies: the grid from the heading row, the
    // status text, then CR LF CR LF.
    QString clipboardText() const;
    void CopySongListtoClipboard1Click();

    // Where a cell's text starts, for the column's alignment.
    int textLeft(int col, const QRect& rect, const QString& text) const;

signals:
    // The selected row holds a song (sgSongListClick): the window loads its details.
    void songChosen();

private:
    void setUpColumns();
    void sgSongListDrawCell(QPainter& painter, int col, int row, const QRect& rect,
                            CellState state);
    void sgSongListClick();
    void setStatusText(const QString& text);

    SOV_Info& m_info;
    StringGrid* m_grid;
    QLabel* m_status;
    QMenu* m_popup;
    QAction* m_copyAction;
};

// The font's point size as a pixel count (the grids use it as their text margin).
int FontPointPixels(const QFont& font);
