// The main window's construction, start-up steps, placement, resizing and closing.

#include "app/mainform.h"

#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "app/mainstatusbar.h"
#include "app/messages.h"
#include "app/sectionheader.h"
#include "app/songdetailsview.h"
#include "app/songlistview.h"
#include "app/stringgrid.h"
#include "platform/drives.h"
#include "platform/virtualdrives.h"
#include "platform/wineprefix.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace {

// The hour-glass while a card search runs.
class BusyCursor final : public BusyIndicator {
public:
    void begin() override { QApplication::setOverrideCursor(Qt::WaitCursor); }
    void end() override { QApplication::restoreOverrideCursor(); }
};

// Gives the lower pane of a vertical splitter `height` pixels, the upper one the rest.
void SetBottomHeight(QSplitter* splitter, int height) {
    const QList<int> sizes = splitter->sizes();
    int total = 0;
    for (int size : sizes)
        total += size;
    if (total <= 0)
        total = splitter->height() - splitter->handleWidth();
    splitter->setSizes({std::max(0, total - height), height});
}

// The Wine prefix's drive entry of a letter ("dosdevices/x:"), taken when it exists.
bool WineDriveInUse(QChar letter) {
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty())
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    const QFileInfo entry(prefix + QStringLiteral("/dosdevices/") + letter.toLower() + u':');
    return entry.exists() || entry.isSymLink();
}

} // namespace

QFont SorvaneWindowFont() {
    const QString classic = QStringLiteral("MS Sans Serif");
    if (QFontDatabase::families().contains(classic))
        return QFont(classic, 8);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    return font;
}

TFormMain::TFormMain(const MainFormServices& services, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_drives(services.drives),
      m_messages(services.messages), m_card(services.drives),
      m_busy(std::make_unique<BusyCursor>()), m_settings(services.settingsPath),
      m_log(services.diagLog) {
    m_virtualDrives = std::make_unique<VirtualDrives>(m_drives, WinePrefixPath());
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Sorvane"));
    setFont(SorvaneWindowFont());
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(silver);
    m_card.setBusyIndicator(m_busy.get());

    buildMenus();
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolBar());
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(buildLeftColumn(), 1);
    middle->addWidget(buildMainPanel());
    layout->addLayout(middle, 1);
    m_statusBar = new MainStatusBar;
    m_statusBar->setObjectName(QStringLiteral("MainStatusBar"));
    layout->addWidget(m_statusBar);
    setCentralWidget(central);
    m_details->setMessageBoxes(&m_messages);
    connectHandlers();
    connectMediaHandlers();

    resize(DesignWidth, DesignHeight);
    runHandler([this] { startUp(); });
    watchDrives();
    // The window opens centred on the desktop; the first activation may move it to the
    // placement stored by the last run.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.center() - QPoint(DesignWidth / 2, DesignHeight / 2));
    }
}

TFormMain::~TFormMain() {
    m_card.setBusyIndicator(nullptr);
}

StringGrid* TFormMain::sgSongList() const {
    return m_songList->grid();
}

void TFormMain::setDialogs(TFormPreferences* preferences, TFormAbout* about) {
    m_preferences = preferences;
    m_about = about;
}

void TFormMain::runHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        m_messages.error(this, QString::fromLocal8Bit(error.what()));
    }
}

void TFormMain::connectHandlers() {
    // The tree spans every drive here, so the selector follows it onto another drive.
    connect(m_tree, &DirectoryListBox::directoryChanged, this, [this] {
        runHandler([this] {
            DirectoryListBox1Change();
            setDriveSelectorToTreeDrive();
        });
    });
    connect(m_tree, &DirectoryListBox::contextPopupRequested, this,
            [this](const QPoint& globalPos) { m_directoryPopup->popup(globalPos); });
    connect(m_driveCombo, &DriveComboBox::driveChanged, this,
            [this] { runHandler([this] { DriveComboBox1Change(); }); });
    connect(m_songList, &SongListView::songChosen, this,
            [this] { runHandler([this] { LoadSongDetails(); }); });
    connect(m_details, &SongDetailsView::songNameWritten, this,
            [this](const QString& text) { m_songList->setSelectedName(text); });
    connect(m_buttonHome, &QToolButton::clicked, this,
            [this] { runHandler([this] { GoToMainBackupFolderClick(); }); });
    connect(m_buttonCard, &QToolButton::clicked, this,
            [this] { runHandler([this] { GotoZOZuzezo1Click(); }); });
    connect(m_buttonWave, &QToolButton::clicked, this,
            [this] { runHandler([this] { ToolButtonWaveClick(); }); });
    connect(m_mediaHeader, &SectionHeader::doubleClicked, this,
            [this] { SetBottomHeight(m_leftSplitter, MediaCentreHeight); });
    connect(m_detailsHeader, &SectionHeader::doubleClicked, this,
            [this] { SetBottomHeight(m_mainSplitter, SongDetailsHeight); });
}

// Start-up, while the window is built: settings, card search, the start folder, the drive
// selector, the card panel and the spare drive letter.
void TFormMain::startUp() {
    m_versionLabel = VersionLabelText();
    loadPathSettings();
    ReplaceMissingDefaultDir(m_prefs);
    openStartFolder(m_card.StartupFolder(m_prefs.DefaultDir));
    setDriveSelectorToTreeDrive();
    showCardPanel(m_card.PanelFor(currentFolder()));
    chooseVirtualDriveLetter();
}

void TFormMain::openStartFolder(const QString& folder) {
    const int before = m_folderChanges;
    if (!m_tree->setDirectory(folder))
        m_tree->setDirectory(QDir::homePath());
    if (m_folderChanges == before) // the tree already showed it: load it all the same
        DirectoryListBox1Change();
}

void TFormMain::chooseVirtualDriveLetter() {
    m_virtualDriveLetter = QChar();
    for (char16_t c = u'Z'; c >= u'D'; --c) {
        if (m_drives.driveType(QChar(c)) == DriveType::NoSuchDrive && !WineDriveInUse(QChar(c))) {
            m_virtualDriveLetter = QChar(c);
            return;
        }
    }
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    runHandler([this] { FormActivate(); });
    if (QLayout* layout = centralWidget()->layout())
        layout->activate();
    SetBottomHeight(m_leftSplitter, MediaCentreHeight);
    SetBottomHeight(m_mainSplitter, SongDetailsHeight);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (m_converterRunning) { // the window takes no input until the converter has exited
        event->ignore();
        return;
    }
    runHandler([this] { FormClose(); });
    event->accept();
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TFormMain::FormResize() {
    if (!currentFolder().isEmpty() && !m_tree->directoryGone())
        showFolderPath();
    for (StringGrid* grid : m_mediaGrids)
        FitFirstColumn(grid);
}
