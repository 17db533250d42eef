#pragma once

#include "card/trackusage.h"

#include <QWidget>

class QPainter;
class StringGrid;
struct CellState;

// The "Track Usage" page: which of the 8 tracks x 8 V-tracks of the selected song hold a
// take, as green cells of the grid sgTrackUsage (column = track, row = V-track).
class TrackUsagePage : public QWidget {
    Q_OBJECT
public:
    static constexpr int DefaultColWidth = 58;
    static constexpr int DefaultRowHeight = 25;
    static constexpr int TextTop = 3;

    explicit TrackUsagePage(QWidget* parent = nullptr);

    StringGrid* grid() const { return m_grid; }
    const TrackUsage& usage() const { return m_usage; }

    // Rebuilds the usage table from the song's TAKE_EVT.BR0 below the folder tree's
    // directory `folder`; with no song (`haveSongs` false or a blank id) every place is empty.
    void loadTrackUsage(const QString& folder, const QString& songId, bool haveSongs);

    // Background of the area beyond the cells: window colour when on, else the fixed colour.
    void setBrEnabled(bool on);

private:
    void sgTrackUsageDrawCell(QPainter& painter, int col, int row, const QRect& rect,
                              CellState state);

    StringGrid* m_grid = nullptr;
    TrackUsage m_usage;
};
