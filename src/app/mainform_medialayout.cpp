// The media centre's widgets: a tab sheet per media folder with its grid and status bar,
// and the player strip with the player, the time text, the position bar and the timer.

#include "app/mainform.h"
#include "app/stringgrid.h"
#include "media/core/mediaplayertext.h"
#include "platform/mediaplayback.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int MediaRowHeight = 18;
constexpr int MediaRowsAtStart = 10;
constexpr int StatusBarHeight = 21;
constexpr int MediaPlayerHeight = 24;
constexpr int TimerInterval = 100;
// The system's active-border colour.
const QColor ActiveBorder(180, 180, 180);

const char* const GridNames[] = {"sgSMF", "sgToneLoad", "sgUSB", "sgMP3", "sgWAV", "sgSketch"};
const char* const SheetNames[] = {"TabSheetSMF", "TabSheetToneLoad", "TabSheetUSB",
                                  "TabSheetMP3", "TabSheetWAV",      "TabSheetSketch"};
const char* const StatusNames[] = {"StatusBarSMF", "StatusBarToneLoad", "StatusBarUSB",
                                   "StatusBarMP3", "StatusBarWAV",      "StatusBarSketch"};

// Calls back whenever the watched widget changes size. A list on a hidden page gets its
// size only when its page is shown, so its first column is fitted then.
class ResizeWatcher : public QObject {
public:
    ResizeWatcher(QWidget* widget, std::function<void()> resized)
        : QObject(widget), m_resized(std::move(resized)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && m_resized)
            m_resized();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_resized;
};

} // namespace

QWidget* TFormMain::buildMediaTab(int tab) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QLatin1String(SheetNames[tab]));
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* grid = new StringGrid;
    grid->setObjectName(QLatin1String(GridNames[tab]));
    grid->setColCount(2);
    grid->setRowCount(MediaRowsAtStart);
    grid->setFixedCols(0);
    grid->setFixedRows(1);
    grid->setDefaultRowHeight(MediaRowHeight);
    grid->setGridLines(StringGrid::FixedVertLine | StringGrid::FixedHorzLine);
    grid->setColSizing(true);
    grid->setRowSelect(true);
    grid->setDrawCell(
        [this, grid](QPainter& painter, int col, int row, const QRect& rect, CellState state) {
            DrawMediaCell(*grid, painter, col, row, rect, state);
        });
    m_mediaGrids.append(grid);
    new ResizeWatcher(grid, [this, grid] { FitFirstColumn(grid); });

    auto* status = new QLabel;
    status->setObjectName(QLatin1String(StatusNames[tab]));
    status->setFixedHeight(StatusBarHeight);
    status->setAutoFillBackground(true);
    QPalette colours = status->palette();
    colours.setColor(QPalette::Window, ActiveBorder);
    status->setPalette(colours);
    m_mediaStatusBars.append(status);

    layout->addWidget(grid, 1);
    layout->addWidget(status);
    return sheet;
}

QWidget* TFormMain::buildMediaPlayerStrip() {
    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("PanelMediaPlayer"));
    strip->setFixedHeight(MediaPlayerHeight);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(4);

    m_player = new TMediaPlayer(m_services.playback);
    m_player->setEnabled(false);
    m_labelTime = new QLabel(QStringLiteral(" 00:00:00 "));
    m_labelTime->setObjectName(QStringLiteral("LabelTime"));
    m_labelTime->setAutoFillBackground(true);
    QPalette lime = m_labelTime->palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        lime.setColor(group, QPalette::Window, Qt::black);
        lime.setColor(group, QPalette::WindowText, QColor(0, 255, 0));
    }
    m_labelTime->setPalette(lime);
    m_progressBar = new PositionBar;
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(TimerInterval);

    layout->addWidget(m_player);
    layout->addWidget(m_labelTime);
    layout->addWidget(m_progressBar);
    layout->addStretch(1);
    return strip;
}

void TFormMain::connectMediaHandlers() {
    for (StringGrid* grid : m_mediaGrids) {
        connect(grid, &StringGrid::cellClick, this,
                [this, grid] { runHandler([this, grid] { sgMediaCentreClick(grid); }); });
    }
    connect(m_mediaPages, &QTabWidget::currentChanged, this,
            [this] { runHandler([this] { PageControl2Change(); }); });
    m_player->setClickHandlers(
        [this](PlayerButton button, bool& doDefault) { MediaPlayer1Click(button, doDefault); },
        [this](PlayerButton button) { MediaPlayer1PostClick(button); });
    m_player->setNotifyHandler([this] { runHandler([this] { MediaPlayer1Notify(); }); });
    m_player->setGuard([this](const std::function<void()>& press) { runHandler(press); });
    connect(m_timer, &QTimer::timeout, this, [this] { runHandler([this] { Timer1Timer(); }); });
    connect(m_progressBar, &PositionBar::pressed, this,
            [this](int x) { runHandler([this, x] { ProgressBar1MouseDown(x); }); });
    m_info.setMediaListRefresher([this](SOV_Info&) { RefreshMediaLists(); });
    for (int tab = 0; tab < m_mediaGrids.size(); ++tab)
        InitMediaListHeader(tab);
    // The wave-audio device opens without a file as the window is made; a failure here
    // shows nothing (the first Play on a file reports its own).
    m_player->setDeviceType(PlayerDeviceWaveAudio);
    m_player->open(nullptr);
}
