#pragma once

#include "app/core/settings.h"
#include "app/mediaplayer.h"
#include "card/sovinfo.h"
#include "transfer/backuptexts.h"
#include "transfer/carddetect.h"
#include "transfer/drivechanges.h"

#include <QChar>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class DirectoryListBox;
class DriveComboBox;
class DriveServices;
class LogFile;
class MediaPlayback;
class DriveWatcher;
class MainStatusBar;
class MessageBoxes;
class ProcessLauncher;
class QAction;
class QLabel;
class QMenu;
class QPainter;
class QSplitter;
class QTimer;
class QTabWidget;
class QTimer;
class QToolButton;
class SectionHeader;
class ShellServices;
class SongDetailsView;
class SongListView;
class StringGrid;
struct CellState;
class TFormAbout;
class TFormBackupRestoreConfirm;
class TFormCopyFiles;
class TFormPreferences;
class VirtualDrives;
class TFormSelectFolder;

// What the main window is given to work with. The clipboard is the application's.
struct MainFormServices {
    DriveServices& drives;
    ShellServices& shell;
    MessageBoxes& messages;
    QString settingsPath; // the settings file
    QString helpPage;     // the local help page (a file path)
    QString homePage;     // the program's home page (a file path or a web address)
    // Whether the Alt key is held down right now; the toolkit's modifiers when not set.
    std::function<bool()> altHeld;
    MediaPlayback& playback; // the media player's device
    LogFile& diagLog;        // the program-wide diagnostic log
    // Starts BR Wave Converter; the WAV button does nothing without it.
    ProcessLauncher* launcher = nullptr;
    // How long the WAV button waits for the virtual drive to show the folder, in ms.
    int virtualDriveTimeout = 3000;
    // Announces cards and disks coming and going; none: the drive list is read on demand.
    DriveWatcher* driveWatcher = nullptr;
    // How long the status bar shows that a card was found.
    int noticeMilliseconds = 5000;
    // Calendar time in whole seconds (the backup and restore timing); the system clock when
    // not set.
    std::function<std::int64_t()> calendarSeconds = {};
};

// The program's main window: the folder browser with the drive selector and card panel, the
// media centre, the song list and song details, the tool bar, the menus and the status bar.
// Building it runs the start-up steps (settings, card search, start folder); closing it
// commits pending edits and writes the settings.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 823;
    static constexpr int DesignHeight = 589;
    static constexpr int MediaCentreHeight = 226;
    static constexpr int SongDetailsHeight = 300;

    explicit TFormMain(const MainFormServices& services, QWidget* parent = nullptr);
    ~TFormMain() override;

    // The dialogs, created after the window (start-up order); not owned.
    void setDialogs(TFormPreferences* preferences, TFormAbout* about);
    // The dialogs of backup and restore, created after the window; not owned.
    void setTransferDialogs(TFormSelectFolder* selectFolder, TFormBackupRestoreConfirm* confirm,
                            TFormCopyFiles* copyFiles);

    QString versionLabelText() const { return m_versionLabel; }
    const Prefs& prefs() const { return m_prefs; }
    QChar virtualDriveLetter() const { return m_virtualDriveLetter; }
    SOV_Info& info() { return m_info; }
    CardDetector& cardDetector() { return m_card; }
    QString currentFolder() const;

    // Widgets, by the names the program's handlers use.
    DirectoryListBox* DirectoryListBox1() const { return m_tree; }
    DriveComboBox* DriveComboBox1() const { return m_driveCombo; }
    SongListView* songList() const { return m_songList; }
    StringGrid* sgSongList() const;
    SongDetailsView* songDetails() const { return m_details; }
    MainStatusBar* mainStatusBar() const { return m_statusBar; }
    QTabWidget* PageControl2() const { return m_mediaPages; }
    QList<StringGrid*> mediaGrids() const { return m_mediaGrids; }
    QWidget* PanelMediaPlayer() const { return m_mediaPlayer; }
    QWidget* PanelMediaCentre() const { return m_mediaCentre; }
    QWidget* PanelSongDetails() const { return m_songDetailsPanel; }
    SectionHeader* PanelMediaCentreHeader() const { return m_mediaHeader; }
    SectionHeader* PanelSongDetailsHeader() const { return m_detailsHeader; }
    QToolButton* ToolButtonHome() const { return m_buttonHome; }
    QToolButton* ToolButtonBR864() const { return m_buttonCard; }
    QToolButton* ToolButtonBackupRestore() const { return m_buttonBackupRestore; }
    QToolButton* ToolButtonWave() const { return m_buttonWave; }
    QLabel* lblBRType() const { return m_lblBRType; }
    QLabel* lblCF_Size() const { return m_lblSize; }
    QLabel* lblCF_Used() const { return m_lblUsed; }
    QLabel* lblCF_Free() const { return m_lblFree; }
    QMenu* PopupMenuDirectoryList() const { return m_directoryPopup; }
    QList<QLabel*> mediaStatusBars() const { return m_mediaStatusBars; }
    TMediaPlayer* MediaPlayer1() const { return m_player; }
    QLabel* LabelTime() const { return m_labelTime; }
    PositionBar* ProgressBar1() const { return m_progressBar; }
    QTimer* Timer1() const { return m_timer; }
    const std::array<int, 6>& mediaCounts() const { return m_mediaCounts; }
    int playerDeviceType() const { return m_playerDeviceType; }

    // Media lists (mainform_media.cpp).
    void InitMediaListHeader(int tab);
    int FillMediaList(int tab);
    void RefreshMediaLists();
    void FitFirstColumn(StringGrid* grid);
    void UpdatePlayerButtons(StringGrid* grid);
    void sgMediaCentreClick(StringGrid* grid);
    void PageControl2Change();
    void DrawMediaCell(StringGrid& grid, QPainter& painter, int col, int row, const QRect& rect,
                       CellState state);

    // Media player (mainform_player.cpp).
    void MediaPlayer1Click(PlayerButton button, bool& doDefault);
    void MediaPlayer1PostClick(PlayerButton button);
    void MediaPlayer1Notify();
    void Timer1Timer();
    void ProgressBar1MouseDown(int x);

    // Commands.
    void GoToMainBackupFolderClick();
    void GotoZOZuzezo1Click();
    void Preferences1Click();
    void FileExitExecute();
    void miHelpHelpClick();
    void miHelpSOVwebsiteClick();
    void miHelpAboutClick();
    void OpenfolderinWindowsExplorer1Click();
    void ToolButtonWaveClick();
    void ToolButtonBackupRestoreClick();

    // Folder change and song details.
    void DirectoryListBox1Change();
    void DriveComboBox1Change();
    void LoadSongDetails();
    void SetBrControlsEnabled(bool on);
    // A card or disk came or went (mainform_drives.cpp).
    void DrivesChanged();

    // Runs a handler; an error escaping it is shown in a message box and the window goes on.
    void runHandler(const std::function<void()>& handler);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Layout (mainform_layout.cpp).
    void buildMenus();
    QWidget* buildToolBar();
    QWidget* buildLeftColumn();
    QWidget* buildDriveSelectPanel();
    QWidget* buildMediaCentre();
    QWidget* buildMainPanel();
    void connectHandlers();

    // Start-up and shutdown (mainform.cpp).
    void startUp();
    void openStartFolder(const QString& folder);
    void chooseVirtualDriveLetter();
    void FormActivate();
    void FormClose();
    void FormResize();
    void loadPathSettings();
    WindowPlacement currentPlacement() const;
    WindowPlacement designedPlacement() const;
    WindowPlacement placementToStore() const;
    void showCardPanel(const CardPanel& panel);
    void showFolderPath();
    void showMediaTabs();
    void setDriveSelectorToTreeDrive();
    QWidget* buildMediaTab(int tab);
    QWidget* buildMediaPlayerStrip();
    void connectMediaHandlers();
    void ReOpenMediaPlayer(const QString& path, int device);
    void continueOpenFile();
    StringGrid* activeMediaGrid() const;
    QString selectedMediaName(StringGrid* grid) const;
    void writeModeEntry(const QString& label);
    void setTimeText(const QString& text);
    // BR Wave Converter launch (mainform_wave.cpp).
    // The error text of a failed BRWC.ini write; empty when written.
    QString writeConverterSettings(const QString& converter, QChar letter);
    bool waitForVirtualDrive(QChar letter, bool mapped);
    void watchDrives();
    void folderDriveRemoved(QChar letter);
    void showNotice(const QString& text);

    // Backup and restore (mainform_backup.cpp).
    void backupFlow();
    void restoreFlow();
    std::int64_t calendarSeconds() const;
    void reportTransfer(TransferKind kind, const CopyResult& result, std::int64_t start);

    MainFormServices m_services;
    DriveServices& m_drives;
    MessageBoxes& m_messages;
    SOV_Info m_info;
    CardDetector m_card;
    std::unique_ptr<BusyIndicator> m_busy;
    Prefs m_prefs;
    SettingsFile m_settings;
    QString m_versionLabel;
    QChar m_virtualDriveLetter;
    std::unique_ptr<VirtualDrives> m_virtualDrives;
    bool m_converterRunning = false;
    bool m_activated = false;
    int m_folderChanges = 0;
    DriveSnapshot m_driveSnapshot; // the drives as last seen
    QChar m_folderDrive;           // the drive of the current folder
    QTimer* m_noticeTimer = nullptr;
    QString m_noticeText;
    QString m_textBeforeNotice;

    TFormPreferences* m_preferences = nullptr;
    TFormAbout* m_about = nullptr;
    TFormSelectFolder* m_selectFolder = nullptr;
    TFormBackupRestoreConfirm* m_confirm = nullptr;
    TFormCopyFiles* m_copyFiles = nullptr;

    DirectoryListBox* m_tree = nullptr;
    DriveComboBox* m_driveCombo = nullptr;
    SongListView* m_songList = nullptr;
    SongDetailsView* m_details = nullptr;
    MainStatusBar* m_statusBar = nullptr;
    QTabWidget* m_mediaPages = nullptr;
    QList<StringGrid*> m_mediaGrids;
    QWidget* m_mediaPlayer = nullptr;
    QWidget* m_mediaCentre = nullptr;
    QWidget* m_songDetailsPanel = nullptr;
    QSplitter* m_leftSplitter = nullptr;
    QSplitter* m_mainSplitter = nullptr;
    SectionHeader* m_mediaHeader = nullptr;
    SectionHeader* m_detailsHeader = nullptr;
    QToolButton* m_buttonHome = nullptr;
    QToolButton* m_buttonCard = nullptr;
    QToolButton* m_buttonBackupRestore = nullptr;
    QToolButton* m_buttonWave = nullptr;
    QLabel* m_lblBRType = nullptr;
    QLabel* m_lblSize = nullptr;
    QLabel* m_lblUsed = nullptr;
    QLabel* m_lblFree = nullptr;
    QMenu* m_directoryPopup = nullptr;

    LogFile& m_log;
    QList<QLabel*> m_mediaStatusBars;
    TMediaPlayer* m_player = nullptr;
    QLabel* m_labelTime = nullptr;
    PositionBar* m_progressBar = nullptr;
    QTimer* m_timer = nullptr;
    std::array<int, 6> m_mediaCounts{};
    int m_playerDeviceType = 0;
};

// The window font: "MS Sans Serif" 8 points where installed, else the system sans at 8.
QFont SorvaneWindowFont();
