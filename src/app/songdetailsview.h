#pragma once

#include <QWidget>
#include <functional>

class ArrangementsPage;
class EffectsPage;
class MessageBoxes;
class PatternsPage;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class SOV_Info;
class SongInfoPage;
class TrackUsagePage;

// The song-details page control ("Song Info", "Track Usage", "Arrangements", "Patterns",
// "Effects") and the views on its pages. The main window owns one and hands it the selected
// song-list row; the view reads the current song through the card content object.
class SongDetailsView : public QWidget {
    Q_OBJECT
public:
    explicit SongDetailsView(SOV_Info& info, QWidget* parent = nullptr);
    ~SongDetailsView() override;

    QTabWidget* pageControl() const;
    QLineEdit* songNameEdit() const;
    QLineEdit* songTitleEdit() const;
    QPlainTextEdit* notesEdit() const;

    SongInfoPage* songInfoPage() const;
    TrackUsagePage* trackUsagePage() const;
    ArrangementsPage* arrangementsPage() const;
    PatternsPage* patternsPage() const;
    EffectsPage* effectsPage() const;

    // Where a failed title or notes save is reported (once per failing box, naming the
    // file); without one the failure only keeps the box changed.
    void setMessageBoxes(MessageBoxes* boxes);
    // Receives the text of "Copy Arrangement to Clipboard"; the system clipboard by default.
    void setClipboardWriter(std::function<void(const QString&)> writer);

    // Loads the song-list row's song: saves edits still pending for the song shown, empties
    // the boxes, selects the song (when the folder has songs) and refreshes every page.
    // `songId` is column 0 of the row (untrimmed), `nameCell` column 1; `currentFolder` is
    // the folder tree's directory.
    void loadSong(const QString& songId, const QString& nameCell, const QString& currentFolder);

    // Enables or greys the pages and their controls for a folder with or without songs.
    void setBrControlsEnabled(bool on);

    // Commits pending edits in order: song name, title, notes (each only when due).
    void commitEdits();

signals:
    // The song name was written into the recorder's file; the song list shows `text`.
    void songNameWritten(const QString& text);

private:
    void showPagesFor(bool haveSongs);

    struct Pages;
    SOV_Info& m_info;
    Pages* m_pages;
};
