#include "app/songdetailsview.h"

#include "app/arrangementspage.h"
#include "app/effectspage.h"
#include "app/patternspage.h"
#include "app/songinfopage.h"
#include "app/trackusagepage.h"
#include "card/sovinfo.h"
#include "media/strgrid.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

// The column formats of the details grids live as long as the view: the pattern and the
// arrangement format serve one grid each, the effect format the five effect grids.
struct SongDetailsView::Pages {
    StrGrid patternFormat;
    StrGrid arrangeFormat;
    StrGrid effectFormat;
    QTabWidget* pageControl = nullptr;
    SongInfoPage* songInfo = nullptr;
    TrackUsagePage* tracks = nullptr;
    ArrangementsPage* arrangements = nullptr;
    PatternsPage* patterns = nullptr;
    EffectsPage* effects = nullptr;
};

SongDetailsView::SongDetailsView(SOV_Info& info, QWidget* parent)
    : QWidget(parent), m_info(info), m_pages(new Pages) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Pages& p = *m_pages;
    p.pageControl = new QTabWidget(this);
    p.pageControl->setObjectName(QStringLiteral("PageControlSongDetails"));
    layout->addWidget(p.pageControl);

    p.songInfo = new SongInfoPage(info);
    p.tracks = new TrackUsagePage;
    p.patterns = new PatternsPage(info, p.patternFormat);
    p.arrangements = new ArrangementsPage(info, p.arrangeFormat);
    p.effects = new EffectsPage(info, p.effectFormat);
    p.pageControl->addTab(p.songInfo, tr("Song Info"));
    p.pageControl->addTab(p.tracks, tr("Track Usage"));
    p.pageControl->addTab(p.arrangements, tr("Arrangements"));
    p.pageControl->addTab(p.patterns, tr("Patterns"));
    p.pageControl->addTab(p.effects, tr("Effects"));
    p.pageControl->setCurrentIndex(0);

    connect(p.songInfo, &SongInfoPage::songNameWritten, this, &SongDetailsView::songNameWritten);
}

// The grids go before the column formats they are tagged with.
SongDetailsView::~SongDetailsView() {
    delete m_pages->pageControl;
    delete m_pages;
}

QTabWidget* SongDetailsView::pageControl() const {
    return m_pages->pageControl;
}
QLineEdit* SongDetailsView::songNameEdit() const {
    return m_pages->songInfo->songName();
}
QLineEdit* SongDetailsView::songTitleEdit() const {
    return m_pages->songInfo->songTitle();
}
QPlainTextEdit* SongDetailsView::notesEdit() const {
    return m_pages->songInfo->notes();
}
SongInfoPage* SongDetailsView::songInfoPage() const {
    return m_pages->songInfo;
}
TrackUsagePage* SongDetailsView::trackUsagePage() const {
    return m_pages->tracks;
}
ArrangementsPage* SongDetailsView::arrangementsPage() const {
    return m_pages->arrangements;
}
PatternsPage* SongDetailsView::patternsPage() const {
    return m_pages->patterns;
}
EffectsPage* SongDetailsView::effectsPage() const {
    return m_pages->effects;
}

void SongDetailsView::setMessageBoxes(MessageBoxes* boxes) {
    m_pages->songInfo->setMessageBoxes(boxes);
}

void SongDetailsView::setClipboardWriter(std::function<void(const QString&)> writer) {
    m_pages->arrangements->setClipboardWriter(std::move(writer));
}

// An edit still pending (its box kept the focus, e.g. while a tool button changed the
// folder) is saved to the song it was typed for before the boxes are emptied.
void SongDetailsView::loadSong(const QString& songId, const QString& nameCell,
                               const QString& currentFolder) {
    Pages& p = *m_pages;
    p.songInfo->commitAll();
    p.songInfo->clear();
    const bool haveSongs = m_info.hasSongs();
    if (haveSongs && m_info.SelectSong(songId))
        p.songInfo->showCurrentSong(nameCell);
    p.tracks->loadTrackUsage(currentFolder, songId, haveSongs);
    p.arrangements->ShowArrangement();
    p.patterns->ShowPatterns();
    p.effects->ShowEffects();
    if (haveSongs)
        showPagesFor(haveSongs);
}

// MICRO BR and BR-532 songs have no rhythm arrangements, patterns or effect banks Sorvane
// can show: their pages are hidden and the drum kit box shows its blank item.
void SongDetailsView::showPagesFor(bool haveSongs) {
    Pages& p = *m_pages;
    const SongListItem* song = m_info.currentSong();
    const bool noRhythm = haveSongs && song != nullptr && (song->isMicroBR || song->isBR532);
    if (noRhythm)
        p.arrangements->showBlankDrumKit();
    for (QWidget* page : {static_cast<QWidget*>(p.arrangements), static_cast<QWidget*>(p.patterns),
                          static_cast<QWidget*>(p.effects)})
        p.pageControl->setTabVisible(p.pageControl->indexOf(page), !noRhythm);
}

void SongDetailsView::setBrControlsEnabled(bool on) {
    Pages& p = *m_pages;
    for (int i = 0; i < p.pageControl->count(); ++i) {
        QWidget* page = p.pageControl->widget(i);
        page->setEnabled(on);
        for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!control->isWindow())
                control->setEnabled(on);
        }
    }
    p.arrangements->setBrEnabled(on);
    p.tracks->setBrEnabled(on);
    p.songInfo->setBoxBackground(
        palette().color(QPalette::Active, on ? QPalette::Base : QPalette::Button));
}

void SongDetailsView::commitEdits() {
    m_pages->songInfo->commitAll();
}
