#include "app/songdetailsview.h"

#include "card/sovinfo.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

struct SongDetailsView::Pages {
    QTabWidget* pageControl = nullptr;
    QLineEdit* songName = nullptr;
    QLineEdit* songTitle = nullptr;
    QPlainTextEdit* notes = nullptr;
};

SongDetailsView::SongDetailsView(SOV_Info& info, QWidget* parent)
    : QWidget(parent), m_info(info), m_pages(new Pages) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pages->pageControl = new QTabWidget(this);
    m_pages->pageControl->setObjectName(QStringLiteral("PageControlSongDetails"));
    layout->addWidget(m_pages->pageControl);

    auto* songInfo = new QWidget;
    songInfo->setObjectName(QStringLiteral("TabSheetSongInfo"));
    auto* form = new QFormLayout(songInfo);
    m_pages->songName = new QLineEdit;
    m_pages->songName->setObjectName(QStringLiteral("EditSongName"));
    m_pages->songName->setMaxLength(8);
    m_pages->songTitle = new QLineEdit;
    m_pages->songTitle->setObjectName(QStringLiteral("EditSongTitle"));
    m_pages->songTitle->setMaxLength(128);
    m_pages->notes = new QPlainTextEdit;
    m_pages->notes->setObjectName(QStringLiteral("MemoSongNotes"));
    form->addRow(tr("Song Name:"), m_pages->songName);
    form->addRow(tr("Song Title:"), m_pages->songTitle);
    form->addRow(tr("Notes:"), m_pages->notes);
    m_pages->pageControl->addTab(songInfo, tr("Song Info"));
    m_pages->pageControl->addTab(new QWidget, tr("Track Usage"));
    m_pages->pageControl->addTab(new QWidget, tr("Arrangements"));
    m_pages->pageControl->addTab(new QWidget, tr("Patterns"));
    m_pages->pageControl->addTab(new QWidget, tr("Effects"));
}

SongDetailsView::~SongDetailsView() {
    delete m_pages;
}

QTabWidget* SongDetailsView::pageControl() const {
    return m_pages->pageControl;
}
QLineEdit* SongDetailsView::songNameEdit() const {
    return m_pages->songName;
}
QLineEdit* SongDetailsView::songTitleEdit() const {
    return m_pages->songTitle;
}
QPlainTextEdit* SongDetailsView::notesEdit() const {
    return m_pages->notes;
}

void SongDetailsView::loadSong(const QString& songId, const QString& nameCell,
                               const QString& currentFolder) {
    Q_UNUSED(currentFolder);
    m_pages->songName->setText(QString());
    m_pages->songName->setModified(false);
    m_pages->songTitle->setText(QString());
    m_pages->songTitle->setModified(false);
    m_pages->notes->setPlainText(QString());
    m_pages->notes->document()->setModified(false);
    if (!m_info.hasSongs())
        return;
    m_info.SelectSong(songId);
    m_pages->songName->setText(nameCell.trimmed());
    m_pages->songName->setModified(false);
}

void SongDetailsView::setBrControlsEnabled(bool on) {
    for (int i = 0; i < m_pages->pageControl->count(); ++i)
        m_pages->pageControl->widget(i)->setEnabled(on);
}

void SongDetailsView::commitEdits() {
    if (m_pages->songName->isModified() && m_info.WriteSongName(m_pages->songName->text())) {
        m_pages->songName->setModified(false);
        emit songNameWritten(m_pages->songName->text());
    }
}
