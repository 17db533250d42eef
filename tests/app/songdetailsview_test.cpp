#include "app/arrangementtabbar.h"
#include "app/songdetailsview.h"
#include "app/songinfopage.h"
#include "app/stringgrid.h"
#include "app/support/recordingmessageboxes.h"
#include "card/arrangementview.h"
#include "card/songtitle.h"
#include "card/sovinfo.h"
#include "fixture/cardfixture.h"
#include "fixture/songfilesfixture.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A grid row's cells joined by '|'.
QString Row(const StringGrid* grid, int row) {
    return grid->rowTexts(row).join(u'|');
}

// The inside of `cell` (without its edge pixels) as it should be painted: `text` in `ink` on
// `fill`, centred, the top of its line three pixels below the cell's top.
QImage ExpectedCell(const QRect& cell, const QFont& font, const QString& text, const QColor& fill,
                    const QColor& ink) {
    QImage image(cell.size(), QImage::Format_RGB32);
    image.fill(fill);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText((cell.width() - painter.fontMetrics().horizontalAdvance(text)) / 2,
                     3 + painter.fontMetrics().ascent(), text);
    painter.end();
    return image.copy(1, 1, cell.width() - 2, cell.height() - 2);
}

QImage Inside(const QImage& image, const QRect& cell) {
    return image.copy(cell.adjusted(1, 1, -1, -1));
}

// The box loses the focus to another control of the window.
void Leave(QWidget* box, Qt::FocusReason reason = Qt::TabFocusReason) {
    QFocusEvent event(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(box, &event);
}

QString Warning(const QString& path) {
    return u"\rUnable to write to %1\r\rThe text stays in its box and is saved again when you "
           u"leave the box or close Sorvane."_s.arg(QDir::toNativeSeparators(path));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A card root in a fresh temporary folder with three songs: SONG001, a BR-864 song with
// arrangements, a song pattern, effect patches, takes, a title and notes; SONG002, a MICRO BR
// song (the BR-900 tag and SONGPRM.BR1); SONG003, a BR-532 song.
bool BuildCard(const CardFixture& card) {
    const QString song = u"SONG001.BR0"_s;
    ArrangeFileBuilder arrange;
    arrange.name(0, "INTRO").drumKit(0, 0, 2);
    arrange.steps(0, {FixtureStep::Preset(0, 0, 4), FixtureStep::Song(4, 11, 4),
                      FixtureStep::Preset(8, 326, 1)});
    arrange.name(2, "CHORUS").drumKit(2, 1, 2).name(4, "END");
    arrange.steps(2, {FixtureStep::Preset(0, 96, 2, 955, 18), FixtureStep::Preset(2, 326)});
    PatternFileBuilder patterns;
    patterns.record(11, "GROOVE12", 19, 4);
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::GTR, 0, "CLEAN", 0).patch(FixtureBank::MTK, 1, "MASTER2", 20);
    TakeEvtBuilder takes;
    takes.taken(2, 0);
    const QString micro = u"SONG002.BR0"_s;
    return card.writeSongInfo(song, SongInfoRecord::ForModel(RecorderModel::BR864, "FIRST", 2)) &&
           arrange.write(card, song) && patterns.write(card, song) && effects.write(card, song) &&
           takes.write(card, song) && WriteSongInfoDat(card, song, "A longer title") &&
           WriteNotes(card, song, {"line one", "line two"}) &&
           card.writeSongInfo(micro,
                              SongInfoRecord::ForModel(RecorderModel::MicroBR, "SECOND", 2)) &&
           card.writeSongParams(micro) &&
           card.writeSongInfo(u"SONG003.BR0"_s,
                              SongInfoRecord::ForModel(RecorderModel::BR532, "THIRD", 3));
}

} // namespace

// The song-details pages show what the card model computed for the song: arrangements with
// their tabs, drum kit, time and clipboard copy, patterns, effects, track usage, the pages
// hidden for MICRO BR and BR-532 songs, the enabled states and the owner-drawn cells. The
// "Song Info" page saves each box when it is left, only when the user changed it; failures
// keep the box changed and warn once.
class SongDetailsViewTest : public QObject {
    Q_OBJECT
private slots:
    // The view of the previous test goes first, as it refers to the card content object.
    void init() {
        m_view.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid() && BuildCard(CardFixture(m_dir->path())));
        m_info = std::make_unique<SOV_Info>();
        m_info->LoadFolder(m_dir->path());
        m_view = std::make_unique<SongDetailsView>(*m_info);
        m_clipboard.clear();
        m_view->setClipboardWriter([this](const QString& text) { m_clipboard.append(text); });
        m_messages.clear();
        m_view->setMessageBoxes(&m_messages);
        m_view->resize(560, 300);
    }

    void arrangementsPatternsAndEffectsOfTheSong() {
        auto* tabs = child<ArrangementTabBar>("TabControl1");
        auto* grid = child<StringGrid>("sgArrange");
        QCOMPARE(child<QLabel>("LabelDrumKit")->text(), u"Drum Kit:"_s);
        load("SONG001");
        QCOMPARE(grid->topRow(), 2);
        auto* copy = child<QAction>("CopyArrangementtoClipboard1");
        QCOMPARE(copy->text(), u"Copy Arrangement to Clipboard"_s);
        QVERIFY(child<QMenu>("PopupMenuArrangement")->actions().contains(copy));
        copy->trigger();
        QCOMPARE(m_clipboard, QStringList{ArrangementClipboardText(ShowArrangement(*m_info, 0))});

        tabs->setTabText(4, u"stale"_s);
        tabs->setCurrentIndex(2);
        QCOMPARE(tabs->tabText(4), u"S05 - END"_s); // every caption refreshed
        QCOMPARE(Row(grid, 1), u"Step|Measure|Length|Pattern|Length|Tempo|Signature"_s);
        QCOMPARE(Row(grid, 2), u"1|1|2|P097: POP1 -IN|2|95.5|3/4"_s);
        QCOMPARE(Row(grid, 4), u"||||||"_s);
        QCOMPARE(child<QComboBox>("cbDrumKit")->currentIndex(), 11);
        QCOMPARE(child<QLabel>("LabelDuration")->text(), u"  0:04"_s);

        // The effect grids show three columns and let only the name column be selected.
        auto* patterns = child<StringGrid>("sgPatterns");
        auto* gtr = child<StringGrid>("sgFX_GTR");
        QCOMPARE(Row(patterns, 13), u"S012|GROOVE12|4|4/4"_s);
        QCOMPARE(Row(child<StringGrid>("sgFX_MTK"), 2), u"MTK S002|MASTER2|MSTR TOOL KIT"_s);
        const QList<int> sizes{patterns->rowCount(), gtr->rowCount(),
                               child<StringGrid>("sgFX_MIC")->rowCount(),
                               child<StringGrid>("sgFX_MTK")->rowCount(), gtr->colCount()};
        QCOMPARE(sizes, (QList<int>{102, 100, 41, 20, 3}));
        QVERIFY(patterns->contextMenuPolicy() == Qt::PreventContextMenu &&
                gtr->contextMenuPolicy() == Qt::PreventContextMenu);
        QCOMPARE(QPoint(gtr->col(), gtr->row()), QPoint(1, 1));
        QVERIFY(!gtr->selectCell(0, 3) && !gtr->selectCell(2, 3) && gtr->selectCell(1, 3));

        // MICRO BR (SONG002) and BR-532 (SONG003) songs hide the rhythm pages, show the blank drum
        // kit and blank the effects; a MICRO BR song blanks the arrangement and patterns too, while
        // the captions keep the texts of the song shown before.
        for (const char* song : {"SONG003", "SONG002"}) {
            load("SONG001");
            QCOMPARE(visibleTabs(), QList<bool>(5, true));
            load(song);
            QCOMPARE(visibleTabs(), (QList<bool>{true, true, false, false, false}));
            QCOMPARE(child<QComboBox>("cbDrumKit")->currentIndex(), 14);
            QCOMPARE(gtr->cell(1, 1), QString());
        }
        QCOMPARE(Row(patterns, 2), u"|||"_s);
        QCOMPARE(Row(grid, 2), u"||||||"_s);
        QCOMPARE(child<QLabel>("LabelDuration")->text(), QString());
        QCOMPARE(tabs->tabText(0), u"S01 - INTRO"_s);
    }

    // Used track places are green; every arrangement tab has the same width, its caption centred
    // on the button face; the grids and boxes take the window colour when enabled. Disabled,
    // cells take the fixed colour, the notes box the button colour, and texts are grey.
    void enablingRepaintsTracksTabsAndBackgrounds() {
        load("SONG001");
        auto* grid = child<StringGrid>("sgTrackUsage");
        auto* tabs = child<ArrangementTabBar>("TabControl1");
        QCOMPARE(Row(grid, 0), u"V-Tracks|Track 1|Track 2|Track 3|Track 4|Track 5|Track 6|Track 7|"
                               u"Track 8"_s);
        QCOMPARE(grid->cell(0, 8), u"v-8"_s);
        showPage("TabSheetTracks");
        QCOMPARE(QSize(grid->colWidth(4), grid->rowHeight(4)), QSize(58, 25));
        QImage image;
        const auto painted = [&](int col, int row, const QColor& fill, const QColor& ink) {
            const QRect cell = grid->cellRect(col, row);
            return Inside(image, cell) ==
                   ExpectedCell(cell, grid->font(), grid->cell(col, row), fill, ink);
        };
        const QPalette palette = m_view->palette();
        const QColor window = palette.color(QPalette::Active, QPalette::Base);
        for (bool on : {true, false}) {
            m_view->setBrControlsEnabled(on);
            showPage("TabSheetTracks");
            image = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QColor ink = on ? palette.color(QPalette::Active, QPalette::ButtonText)
                                  : palette.color(QPalette::Disabled, QPalette::Text);
            const QColor body = on ? window : grid->fixedColor();
            QVERIFY(painted(3, 1, on ? QColor(0, 255, 0) : body, ink)); // track 2, V 0
            QVERIFY(painted(2, 2, body, ink) && painted(1, 0, grid->fixedColor(), ink));

            showPage("TabSheetArrangements");
            QCOMPARE(tabs->tabRect(3).width(), 105);
            const QRect rect = tabs->tabRect(1);
            image = tabs->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(Inside(image, rect),
                     ExpectedCell(rect, tabs->font(), tabs->tabText(1),
                                  palette.color(QPalette::Active, QPalette::Button),
                                  palette.color(on ? QPalette::Active : QPalette::Disabled,
                                                on ? QPalette::WindowText : QPalette::Text)));
            for (int i = 0; i < m_view->pageControl()->count(); ++i)
                QCOMPARE(m_view->pageControl()->widget(i)->isEnabled(), on);
            QCOMPARE(child<StringGrid>("sgArrange")->color(), body);
            QCOMPARE(grid->color(), body);
            QCOMPARE(notes()->palette().color(QPalette::Base),
                     palette.color(QPalette::Active, on ? QPalette::Base : QPalette::Button));
        }
    }

    // A box is saved when it is left for another control (not for a pop-up menu) after the user
    // changed it. Edits still pending (their boxes kept the focus while another song was chosen)
    // go to the song they were typed for.
    void boxesAreSavedWhenLeftAndPendingEditsGoToTheirOwnSong() {
        QCOMPARE(m_view->songNameEdit()->maxLength(), 8);
        QCOMPARE(title()->maxLength(), 128);
        m_view->setBrControlsEnabled(true);
        load("SONG001", "FIRST   ");
        QCOMPARE(m_view->songNameEdit()->text(), u"FIRST"_s);
        title()->clear();
        QTest::keyClicks(title(), u"Nine char"_s);
        Leave(title(), Qt::PopupFocusReason);
        const QString first = songFile("SongInfo.dat", "SONG001.BR0");
        QCOMPARE(ReadAll(first), QByteArray("SOV 1.05A longer title"));
        Leave(title());
        QCOMPARE(ReadAll(first), QByteArray("SOV 1.05Nine char"));
        QSignalSpy written(m_view.get(), &SongDetailsView::songNameWritten);
        m_view->songNameEdit()->clear();
        QTest::keyClicks(m_view->songNameEdit(), u" AB"_s);
        Leave(m_view->songNameEdit());
        QCOMPARE(written.count(), 1);
        QCOMPARE(written.first().first().toString(), u" AB"_s);

        QTest::keyClicks(m_view->songNameEdit(), u"X"_s);
        QTest::keyClicks(title(), u" more"_s);
        QTest::keyClicks(notes(), u"added "_s);
        load("SONG003");
        QCOMPARE(written.count(), 2);
        QCOMPARE(written.last().first().toString(), u" ABX"_s);
        QCOMPARE(ReadAll(first), QByteArray("SOV 1.05Nine char more"));
        QCOMPARE(ReadAll(songFile("Notes.txt", "SONG001.BR0")),
                 QByteArray("added line one\r\nline two\r\n"));
        // Nothing is due any more; the untouched boxes of the song now shown are not written.
        m_view->commitEdits();
        QCOMPARE(written.count(), 2);
        const QString dat = songFile("SongInfo.dat");
        const QString notesFile = songFile("Notes.txt");
        QVERIFY(!QFile::exists(dat) && !QFile::exists(notesFile));

        // A folder stands where the file should go: the box stays changed, to be saved when it is
        // left again; the user is warned once, not on every retry.
        QVERIFY(QDir().mkpath(dat));
        QTest::keyClicks(title(), u"Kept"_s);
        Leave(title());
        Leave(title());
        m_view->commitEdits();
        QVERIFY(QDir().mkpath(notesFile));
        QTest::keyClicks(notes(), u"keep me"_s);
        Leave(notes());
        Leave(notes());
        QCOMPARE(warnings(), (QStringList{Warning(dat), Warning(notesFile)}));
        QVERIFY(title()->isModified() && notes()->document()->isModified());

        QVERIFY(QDir().rmdir(dat));
        Leave(title());
        QCOMPARE(ReadAll(dat), QByteArray("SOV 1.05Kept"));
        QVERIFY(!title()->isModified());
        // A later failure is reported again.
        QVERIFY(QFile::remove(dat) && QDir().mkpath(dat));
        QTest::keyClicks(title(), u"!"_s);
        Leave(title());
        QCOMPARE(warnings().size(), 3);
    }

    // Notes over 1 MB or 50 000 lines stay on the card as they are: the box says why it is
    // empty, takes no typing, and leaving it (or closing) neither truncates nor deletes the
    // file. Notes of exactly 50 000 lines are loaded.
    void oversizedNotesAreNeitherLoadedNorWrittenBack() {
        const QString notesFile = songFile("Notes.txt", "SONG001.BR0");
        const QByteArray lineEnds(SongInfoPage::NotesMaxLines, '\n');
        for (const QByteArray& bytes : {QByteArray(SongInfoPage::NotesMaxBytes + 1, 'x'),
                                        QByteArray(lineEnds + '\n'), lineEnds}) {
            QVERIFY(
                CardFixture(m_dir->path()).writeSongFile(u"SONG001.BR0"_s, u"Notes.txt"_s, bytes));
            load("SONG001");
            if (bytes == lineEnds) {
                QCOMPARE(notes()->document()->blockCount(), SongInfoPage::NotesMaxLines);
                QVERIFY(!notes()->isReadOnly() && notes()->placeholderText().isEmpty());
                continue;
            }
            QCOMPARE(notes()->toPlainText(), QString());
            QVERIFY(notes()->isReadOnly());
            QCOMPARE(notes()->placeholderText(), SongInfoPage::NotesTooLargeText());
            notes()->document()->setModified(true);
            Leave(notes());
            m_view->commitEdits();
            QCOMPARE(ReadAll(notesFile), bytes);
            QCOMPARE(warnings(), QStringList());
            // The next song's notes are loaded and saved as ever.
            load("SONG002");
            QVERIFY(!notes()->isReadOnly() && notes()->placeholderText().isEmpty());
        }
    }

    // A line of notes with a run longer than any word is wrapped anywhere: wrapping it at
    // word boundaries takes minutes. Ordinary notes are wrapped at words again.
    void notesWithAnEndlessWordWrapAnywhere() {
        const QByteArray run(10001, 'x');
        QVERIFY(WriteNotes(CardFixture(m_dir->path()), u"SONG002.BR0"_s, {"a " + run, "b"}));
        showPage("TabSheetSongInfo");
        load("SONG002");
        QCOMPARE(notes()->wordWrapMode(), QTextOption::WrapAnywhere);
        QCOMPARE(notes()->toPlainText(), QString::fromLatin1("a " + run + "\nb"));
        load("SONG001");
        QCOMPARE(notes()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    }

private:
    template <typename T> T* child(const char* name) const {
        return m_view->findChild<T*>(QLatin1String(name));
    }
    void load(const char* songId, const char* name = "") {
        m_view->loadSong(QLatin1String(songId), QLatin1String(name), m_dir->path());
    }
    void showPage(const char* page) {
        m_view->show();
        m_view->pageControl()->setCurrentWidget(child<QWidget>(page));
        QCoreApplication::processEvents();
    }
    QList<bool> visibleTabs() const {
        QList<bool> visible;
        for (int i = 0; i < m_view->pageControl()->count(); ++i)
            visible.append(m_view->pageControl()->isTabVisible(i));
        return visible;
    }
    QString songFile(const char* name, const char* folder = "SONG003.BR0") const {
        const CardFixture card(m_dir->path());
        return card.path(card.songFolder(QLatin1String(folder)) + u'/' + QLatin1String(name));
    }
    QLineEdit* title() const { return m_view->songTitleEdit(); }
    QPlainTextEdit* notes() const { return m_view->notesEdit(); }
    QStringList warnings() const { return m_messages.texts(MessageKind::Warning); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SOV_Info> m_info;
    std::unique_ptr<SongDetailsView> m_view;
    QStringList m_clipboard;
    RecordingMessageBoxes m_messages;
};

QTEST_MAIN(SongDetailsViewTest)
#include "songdetailsview_test.moc"
