// The main window's widgets: tool bar, menus, the folder browser with its card panel, the
// media centre, the song list and the song details, and the status bar.

#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "app/mainform.h"
#include "app/mainstatusbar.h"
#include "app/sectionheader.h"
#include "app/songdetailsview.h"
#include "app/songlistview.h"
#include "app/stringgrid.h"
#include "media/core/medialist.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ToolButtonWidth = 59;
constexpr int ToolButtonHeight = 21;
constexpr int PanelTopHeight = 25;
constexpr int DriveSelectHeight = 84;
constexpr int SplitterWidth = 3;
constexpr int MainPanelWidth = 558;

QToolButton* MakeToolButton(const char* name, const QString& caption, const QString& hint) {
    auto* button = new QToolButton;
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setMinimumSize(ToolButtonWidth, ToolButtonHeight);
    button->setFixedHeight(ToolButtonHeight);
    return button;
}

QLabel* BoldLabel(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QSplitter* BlackSplitter() {
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setHandleWidth(SplitterWidth);
    splitter->setChildrenCollapsible(false);
    splitter->setStyleSheet(QStringLiteral("QSplitter::handle { background: black; }"));
    return splitter;
}

QWidget* Column(QWidget* parent = nullptr) {
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return widget;
}

} // namespace

void TFormMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("File"));
    QAction* preferences = file->addAction(tr("Preferences"));
    preferences->setObjectName(QStringLiteral("Preferences1"));
    QAction* exitAction = file->addAction(tr("Exit"));
    exitAction->setObjectName(QStringLiteral("Exit1"));
    QMenu* help = menuBar()->addMenu(tr("Help"));
    QAction* helpPage = help->addAction(tr("Sorvane Help (website)"));
    helpPage->setObjectName(QStringLiteral("miHelpHelp"));
    QAction* homePage = help->addAction(tr("Sorvane Home Page (website)"));
    homePage->setObjectName(QStringLiteral("miHelpSOVwebsite"));
    QAction* about = help->addAction(tr("About Sorvane"));
    about->setObjectName(QStringLiteral("miHelpAbout"));

    connect(preferences, &QAction::triggered, this,
            [this] { runHandler([this] { Preferences1Click(); }); });
    connect(exitAction, &QAction::triggered, this,
            [this] { runHandler([this] { FileExitExecute(); }); });
    connect(helpPage, &QAction::triggered, this,
            [this] { runHandler([this] { miHelpHelpClick(); }); });
    connect(homePage, &QAction::triggered, this,
            [this] { runHandler([this] { miHelpSOVwebsiteClick(); }); });
    connect(about, &QAction::triggered, this,
            [this] { runHandler([this] { miHelpAboutClick(); }); });

    m_directoryPopup = new QMenu(this);
    m_directoryPopup->setObjectName(QStringLiteral("PopupMenuDirectoryList"));
    QAction* explore = m_directoryPopup->addAction(tr("Open folder in File Manager"));
    explore->setObjectName(QStringLiteral("OpenfolderinWindowsExplorer1"));
    connect(explore, &QAction::triggered, this,
            [this] { runHandler([this] { OpenfolderinWindowsExplorer1Click(); }); });
}

QWidget* TFormMain::buildToolBar() {
    auto* panelTop = new QWidget;
    panelTop->setObjectName(QStringLiteral("PanelTop"));
    panelTop->setFixedHeight(PanelTopHeight);
    auto* layout = new QHBoxLayout(panelTop);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(0);
    m_buttonHome = MakeToolButton("ToolButtonHome", QStringLiteral("    Home    "),
                                  tr("Go to Main Backup Folder"));
    m_buttonCard =
        MakeToolButton("ToolButtonBR864", QStringLiteral("ZO Zuzezo"), tr("Go to BR Memory Card"));
    m_buttonBackupRestore = MakeToolButton("ToolButtonBackupRestore", QStringLiteral("  Restore  "),
                                           tr("Backup/Restore current folder"));
    m_buttonWave = MakeToolButton("ToolButtonWave", QStringLiteral("WAV"),
                                  tr("Launch BR Wave Converter for selected folder"));
    for (QToolButton* button : {m_buttonHome, m_buttonCard, m_buttonBackupRestore, m_buttonWave})
        layout->addWidget(button);
    layout->addStretch(1);
    return panelTop;
}

QWidget* TFormMain::buildDriveSelectPanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("PanelDriveSelect"));
    panel->setFixedHeight(DriveSelectHeight);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setVerticalSpacing(1);
    m_driveCombo = new DriveComboBox(m_drives);
    m_driveCombo->setObjectName(QStringLiteral("DriveComboBox1"));
    m_lblBRType = BoldLabel(QString());
    m_lblBRType->setObjectName(QStringLiteral("lblBRType"));
    m_lblSize = new QLabel;
    m_lblSize->setObjectName(QStringLiteral("lblCF_Size"));
    m_lblUsed = new QLabel;
    m_lblUsed->setObjectName(QStringLiteral("lblCF_Used"));
    m_lblFree = new QLabel;
    m_lblFree->setObjectName(QStringLiteral("lblCF_Free"));
    grid->addWidget(m_driveCombo, 0, 0, 1, 2);
    grid->addWidget(m_lblBRType, 1, 0, 1, 2);
    grid->addWidget(BoldLabel(tr("Size:")), 2, 0);
    grid->addWidget(m_lblSize, 2, 1);
    grid->addWidget(BoldLabel(tr("Used:")), 3, 0);
    grid->addWidget(m_lblUsed, 3, 1);
    grid->addWidget(BoldLabel(tr("Free:")), 4, 0);
    grid->addWidget(m_lblFree, 4, 1);
    grid->setColumnStretch(1, 1);
    return panel;
}

QWidget* TFormMain::buildMediaCentre() {
    m_mediaCentre = Column();
    m_mediaCentre->setObjectName(QStringLiteral("PanelMediaCentre"));
    m_mediaHeader = new SectionHeader(tr("Media Centre"));
    m_mediaHeader->setObjectName(QStringLiteral("PanelMediaCentreHeader"));
    m_mediaPages = new QTabWidget;
    m_mediaPages->setObjectName(QStringLiteral("PageControl2"));
    for (int i = 0; i < 6; ++i)
        m_mediaPages->addTab(buildMediaTab(i), MediaTabCaption(i));
    m_mediaPlayer = buildMediaPlayerStrip();
    m_mediaCentre->layout()->addWidget(m_mediaHeader);
    m_mediaCentre->layout()->addWidget(m_mediaPages);
    m_mediaCentre->layout()->addWidget(m_mediaPlayer);
    return m_mediaCentre;
}

QWidget* TFormMain::buildLeftColumn() {
    auto* panelLeft = Column();
    panelLeft->setObjectName(QStringLiteral("PanelLeft"));
    panelLeft->setMinimumSize(250, 400);
    auto* browser = Column();
    auto* header = new SectionHeader(tr("Disk Browser"));
    header->setObjectName(QStringLiteral("PanelDiskBrowserHeader"));
    m_tree = new DirectoryListBox;
    m_tree->setObjectName(QStringLiteral("DirectoryListBox1"));
    browser->layout()->addWidget(header);
    browser->layout()->addWidget(buildDriveSelectPanel());
    browser->layout()->addWidget(m_tree);

    m_leftSplitter = BlackSplitter();
    m_leftSplitter->setObjectName(QStringLiteral("SplitterMediaCentre"));
    m_leftSplitter->addWidget(browser);
    m_leftSplitter->addWidget(buildMediaCentre());
    m_leftSplitter->setStretchFactor(0, 1);
    m_leftSplitter->setStretchFactor(1, 0);
    panelLeft->layout()->addWidget(m_leftSplitter);
    return panelLeft;
}

QWidget* TFormMain::buildMainPanel() {
    auto* panelMain = Column();
    panelMain->setObjectName(QStringLiteral("PanelMain"));
    panelMain->setFixedWidth(MainPanelWidth);
    auto* songListPanel = Column();
    auto* listHeader = new SectionHeader(tr("Song List"));
    listHeader->setObjectName(QStringLiteral("PanelSongListHeader"));
    m_songList = new SongListView(m_info);
    songListPanel->layout()->addWidget(listHeader);
    songListPanel->layout()->addWidget(m_songList);

    m_songDetailsPanel = Column();
    m_songDetailsPanel->setObjectName(QStringLiteral("PanelSongDetails"));
    m_detailsHeader = new SectionHeader(tr("Song Details"));
    m_detailsHeader->setObjectName(QStringLiteral("PanelSongDetailsHeader"));
    m_details = new SongDetailsView(m_info);
    m_songDetailsPanel->layout()->addWidget(m_detailsHeader);
    m_songDetailsPanel->layout()->addWidget(m_details);

    m_mainSplitter = BlackSplitter();
    m_mainSplitter->setObjectName(QStringLiteral("SplitterSongDetails"));
    m_mainSplitter->addWidget(songListPanel);
    m_mainSplitter->addWidget(m_songDetailsPanel);
    m_mainSplitter->setStretchFactor(0, 1);
    m_mainSplitter->setStretchFactor(1, 0);
    panelMain->layout()->addWidget(m_mainSplitter);
    return panelMain;
}
