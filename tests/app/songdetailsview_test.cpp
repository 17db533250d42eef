#include "app/arrangementtabbar.h"
#include "app/detailstest.h"
#include "app/songdetailsview.h"
#include "app/stringgrid.h"
#include "app/trackusagepage.h"
#include "card/sovinfo.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <memory>

using namespace detailstest;

// The song-details pages loaded from a card: arrangements with their tabs, drum kit, time
// and clipboard copy, patterns, effects, track usage, the pages hidden for MICRO BR and
// BR-532 songs, and the enabled states.
class SongDetailsViewTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tabCaptionsAfterLoading();
    void tabChangeShowsThatArrangementWithItsKit();
    void copyArrangementPutsTheGridOnTheClipboard();
    void patternsAndEffectsOfTheSong();
    void microBrSongHidesRhythmPagesAndBlanksThem();
    void br532SongHidesPagesAndBlanksEffects();
    void folderWithoutSongsShowsEmptyViews();
    void effectGridsSelectOnlyTheNameColumn();
    void enabledStatesAndBackgrounds();
    void trackUsagePaintsUsedPlacesGreen();
    void disabledTrackUsageIsGreyOnFixedColour();
    void arrangementTabsAreOwnerDrawn();

private:
    template <typename T> T* child(const char* name) const {
        T* found = m_view->findChild<T*>(QLatin1String(name));
        if (found == nullptr)
            qFatal("no widget %s", name);
        return found;
    }
    void load(const char* songId, const char* name = "");
    int tabIndex(const char* pageName) const;

    std::unique_ptr<DetailsCard> m_card;
    std::unique_ptr<SOV_Info> m_info;
    std::unique_ptr<SongDetailsView> m_view;
    QStringList m_clipboard;
};

void SongDetailsViewTest::init() {
    m_card = std::make_unique<DetailsCard>();
    QVERIFY(m_card->build());
    m_info = std::make_unique<SOV_Info>();
    m_info->LoadFolder(m_card->root());
    QVERIFY(m_info->hasSongs());
    m_view = std::make_unique<SongDetailsView>(*m_info);
    m_view->setFont(GridFont());
    m_clipboard.clear();
    m_view->setClipboardWriter([this](const QString& text) { m_clipboard.append(text); });
    m_view->resize(560, 300);
}

void SongDetailsViewTest::cleanup() {
    m_view.reset();
    m_info.reset();
    m_card.reset();
}

void SongDetailsViewTest::load(const char* songId, const char* name) {
    m_view->loadSong(QLatin1String(songId), QLatin1String(name), m_card->root());
}

int SongDetailsViewTest::tabIndex(const char* pageName) const {
    return m_view->pageControl()->indexOf(child<QWidget>(pageName));
}

void SongDetailsViewTest::tabCaptionsAfterLoading() {
    auto* tabs = child<ArrangementTabBar>("TabControl1");
    QCOMPARE(tabs->count(), 5);
    QCOMPARE(tabs->tabText(0), QStringLiteral("S01"));
    QCOMPARE(tabs->tabText(4), QStringLiteral("S05"));
    load("SONG001");
    QCOMPARE(tabs->tabText(0), QStringLiteral("S01 - INTRO"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("S02 - VERSE"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("S03 - CHORUS"));
    QCOMPARE(tabs->tabText(3), QStringLiteral("S04 - ")); // an empty name keeps the blank
    QCOMPARE(tabs->tabText(4), QStringLiteral("S05 - END"));

    auto* grid = child<StringGrid>("sgArrange");
    QCOMPARE(grid->rowTexts(2), (Texts({"1", "1", "4", "P001: ROCK1-IN", "4", "120.0", "4/4"})));
    QCOMPARE(grid->rowTexts(3), (Texts({"2", "5", "4", "S012: GROOVE12", "4", "120.0", "4/4"})));
    QCOMPARE(grid->rowTexts(4),
             (Texts({"3", "9", "\u00B7\u00B7\u00B7", "P327: BREAK", "1", "120.0", "4/4"})));
    QVERIFY(grid->rowTexts(5).join(QString()).isEmpty());
    QCOMPARE(child<QLabel>("LabelDuration")->text(), QStringLiteral("  0:16"));
    QCOMPARE(child<QComboBox>("cbDrumKit")->currentText(), QStringLiteral("P3 - ROOM"));
    QCOMPARE(grid->topRow(), 2);
}

void SongDetailsViewTest::tabChangeShowsThatArrangementWithItsKit() {
    load("SONG001");
    auto* tabs = child<ArrangementTabBar>("TabControl1");
    auto* grid = child<StringGrid>("sgArrange");
    tabs->setTabText(4, QStringLiteral("stale"));
    tabs->setCurrentIndex(2);
    QCOMPARE(tabs->tabText(4), QStringLiteral("S05 - END")); // every caption refreshed
    QCOMPARE(grid->rowTexts(2), (Texts({"1", "1", "2", "P097: POP1 -IN", "2", "95.5", "3/4"})));
    QCOMPARE(grid->cell(3, 3), QStringLiteral("P327: BREAK"));
    QVERIFY(grid->rowTexts(4).join(QString()).isEmpty());
    auto* kit = child<QComboBox>("cbDrumKit");
    QCOMPARE(kit->currentIndex(), 11);
    QCOMPARE(kit->currentText(), QStringLiteral("S3 - Song Kit 3"));
    // 2 measures of 3 beats at 95.5: 3769 ms, shown rounded to the second.
    QCOMPARE(child<QLabel>("LabelDuration")->text(), QStringLiteral("  0:04"));

    tabs->setCurrentIndex(1); // no steps: blank rows and no time
    QVERIFY(grid->rowTexts(2).join(QString()).isEmpty());
    QCOMPARE(child<QLabel>("LabelDuration")->text(), QStringLiteral("  n/a"));
    QCOMPARE(kit->currentIndex(), 0);
}

void SongDetailsViewTest::copyArrangementPutsTheGridOnTheClipboard() {
    load("SONG001");
    auto* copy = child<QAction>("CopyArrangementtoClipboard1");
    QCOMPARE(copy->text(), QStringLiteral("Copy Arrangement to Clipboard"));
    QVERIFY(child<QMenu>("PopupMenuArrangement")->actions().contains(copy));
    copy->trigger();
    const QString dots(3, QChar(0xB7));
    const QString expected = u"\tStarting\tStep\t\tPattern\t\tTime\r\n"
                             u"Step\tMeasure\tLength\tPattern\tLength\tTempo\tSignature\r\n"
                             u"1\t1\t4\tP001: ROCK1-IN\t4\t120.0\t4/4\r\n"
                             u"2\t5\t4\tS012: GROOVE12\t4\t120.0\t4/4\r\n"
                             u"3\t9\t" +
                             dots + u"\tP327: BREAK\t1\t120.0\t4/4\r\n\r\n";
    QCOMPARE(m_clipboard, QStringList{expected});

    // The system clipboard is the default receiver; its contents are replaced.
    SongDetailsView plain(*m_info);
    plain.loadSong(QStringLiteral("SONG001"), QString(), m_card->root());
    QGuiApplication::clipboard()->setText(QStringLiteral("old contents"));
    plain.findChild<QAction*>(QStringLiteral("CopyArrangementtoClipboard1"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
}

void SongDetailsViewTest::patternsAndEffectsOfTheSong() {
    load("SONG001");
    auto* patterns = child<StringGrid>("sgPatterns");
    QCOMPARE(patterns->rowCount(), 102);
    QCOMPARE(patterns->rowTexts(1), (Texts({"Pattern", "Name", "Length", "Signature"})));
    QCOMPARE(patterns->rowTexts(13), (Texts({"S012", "GROOVE12", "4", "4/4"})));
    auto* gtr = child<StringGrid>("sgFX_GTR");
    QCOMPARE(gtr->colCount(), 3);
    QCOMPARE(gtr->rowCount(), 100);
    QCOMPARE(gtr->rowTexts(1), (Texts({"GTR S001", "CLEAN", "COSM GTR AMP"})));
    auto* mtk = child<StringGrid>("sgFX_MTK");
    QCOMPARE(mtk->rowCount(), 20);
    QCOMPARE(mtk->rowTexts(2), (Texts({"MTK S002", "MASTER2", "MSTR TOOL KIT"})));
    QCOMPARE(child<QTabWidget>("PageControl1")->tabText(4), QStringLiteral("MTK"));
    QCOMPARE(child<StringGrid>("sgFX_MIC")->rowCount(), 41);
}

void SongDetailsViewTest::microBrSongHidesRhythmPagesAndBlanksThem() {
    load("SONG001");
    QTabWidget* pages = m_view->pageControl();
    auto* grid = child<StringGrid>("sgArrange");
    auto* kit = child<QComboBox>("cbDrumKit");
    load("SONG002");
    for (const char* page : {"TabSheetArrangements", "TabSheetPatterns", "TabSheetEffects"})
        QVERIFY2(!pages->isTabVisible(tabIndex(page)), page);
    QVERIFY(pages->isTabVisible(tabIndex("TabSheetSongInfo")));
    QVERIFY(pages->isTabVisible(tabIndex("TabSheetTracks")));
    QCOMPARE(kit->currentIndex(), 14);
    QCOMPARE(kit->currentText(), QStringLiteral(" "));
    QCOMPARE(child<QLabel>("LabelDuration")->text(), QString());
    QVERIFY(grid->rowTexts(2).join(QString()).isEmpty());
    QCOMPARE(grid->row(), 2);
    QCOMPARE(grid->cell(1, 0), QStringLiteral("Starting")); // headings stay
    // The captions keep the texts of the song shown before.
    QCOMPARE(child<ArrangementTabBar>("TabControl1")->tabText(0), QStringLiteral("S01 - INTRO"));
    QVERIFY(child<StringGrid>("sgPatterns")->rowTexts(2).join(QString()).isEmpty());
    QCOMPARE(child<StringGrid>("sgFX_GTR")->cell(1, 1), QString());

    load("SONG001");
    for (const char* page : {"TabSheetArrangements", "TabSheetPatterns", "TabSheetEffects"})
        QVERIFY2(pages->isTabVisible(tabIndex(page)), page);
    QCOMPARE(kit->currentIndex(), 2);
}

void SongDetailsViewTest::br532SongHidesPagesAndBlanksEffects() {
    load("SONG003");
    QTabWidget* pages = m_view->pageControl();
    for (const char* page : {"TabSheetArrangements", "TabSheetPatterns", "TabSheetEffects"})
        QVERIFY2(!pages->isTabVisible(tabIndex(page)), page);
    // The arrangement itself is shown normally on its hidden page, with the blank kit.
    QCOMPARE(child<StringGrid>("sgArrange")->cell(3, 2), QStringLiteral("P007: ROCK2-IN"));
    QCOMPARE(child<ArrangementTabBar>("TabControl1")->tabText(0), QStringLiteral("S01 - OLD"));
    QCOMPARE(child<QComboBox>("cbDrumKit")->currentIndex(), 14);
    auto* gtr = child<StringGrid>("sgFX_GTR");
    QCOMPARE(gtr->cell(0, 1), QString());
    QCOMPARE(gtr->cell(1, 1), QString());
    QCOMPARE(gtr->row(), 1);
    QCOMPARE(gtr->col(), 1);
}

void SongDetailsViewTest::folderWithoutSongsShowsEmptyViews() {
    load("SONG002"); // pages hidden
    QTemporaryDir empty;
    m_info->LoadFolder(empty.path());
    QVERIFY(!m_info->hasSongs());
    m_view->loadSong(QString(), QString(), empty.path());
    QCOMPARE(m_view->songNameEdit()->text(), QString());
    QCOMPARE(m_view->songTitleEdit()->text(), QString());
    QCOMPARE(m_view->trackUsagePage()->usage().usedCount(), 0);
    QCOMPARE(child<QLabel>("LabelDuration")->text(), QString());
    QVERIFY(child<StringGrid>("sgPatterns")->rowTexts(2).join(QString()).isEmpty());
    // Without songs the page visibility is left as it was.
    QVERIFY(!m_view->pageControl()->isTabVisible(tabIndex("TabSheetEffects")));
}

void SongDetailsViewTest::effectGridsSelectOnlyTheNameColumn() {
    load("SONG001");
    m_view->setBrControlsEnabled(true);
    m_view->show();
    m_view->pageControl()->setCurrentIndex(tabIndex("TabSheetEffects"));
    QCoreApplication::processEvents();
    auto* gtr = child<StringGrid>("sgFX_GTR");
    QVERIFY(gtr->isVisible());
    QCOMPARE(gtr->col(), 1);
    QCOMPARE(gtr->row(), 1);
    QTest::mouseClick(gtr->viewport(), Qt::LeftButton, {}, gtr->cellRect(0, 3).center());
    QCOMPARE(gtr->row(), 1);
    QTest::mouseClick(gtr->viewport(), Qt::LeftButton, {}, gtr->cellRect(2, 4).center());
    QCOMPARE(gtr->row(), 1);
    QTest::mouseClick(gtr->viewport(), Qt::LeftButton, {}, gtr->cellRect(1, 3).center());
    QCOMPARE(gtr->row(), 3);
    QCOMPARE(gtr->col(), 1);
    QVERIFY(!gtr->selectCell(2, 3));
    QTest::keyClick(gtr, Qt::Key_Left);
    QTest::keyClick(gtr, Qt::Key_Right);
    QCOMPARE(gtr->col(), 1);
    QTest::keyClick(gtr, Qt::Key_Down);
    QCOMPARE(gtr->row(), 4);
    QCOMPARE(gtr->contextMenuPolicy(), Qt::PreventContextMenu);
    QCOMPARE(child<StringGrid>("sgPatterns")->contextMenuPolicy(), Qt::PreventContextMenu);
}

void SongDetailsViewTest::enabledStatesAndBackgrounds() {
    QVERIFY(!child<QWidget>("TabSheetPatterns")->isEnabled()); // created disabled
    QVERIFY(child<QWidget>("TabSheetEffects")->isEnabled());
    auto* kit = child<QComboBox>("cbDrumKit");
    QCOMPARE(kit->count(), 15);
    QVERIFY(!kit->isEnabled());
    QVERIFY(child<QGroupBox>("GroupBoxStep")->isHidden());
    QCOMPARE(child<QLabel>("LabelDrumKit")->text(), QStringLiteral("Drum Kit:"));

    auto* arrange = child<StringGrid>("sgArrange");
    auto* tracks = child<StringGrid>("sgTrackUsage");
    const QColor window = m_view->palette().color(QPalette::Active, QPalette::Base);
    m_view->setBrControlsEnabled(true);
    for (int i = 0; i < m_view->pageControl()->count(); ++i)
        QVERIFY(m_view->pageControl()->widget(i)->isEnabled());
    QVERIFY(arrange->isEnabled());
    QVERIFY(child<QWidget>("TabControl1")->isEnabled());
    QVERIFY(child<QLabel>("LabelDrumKit")->isEnabled());
    QVERIFY(!kit->isEnabled()); // it only shows
    QCOMPARE(arrange->color(), window);
    QCOMPARE(tracks->color(), window);

    m_view->setBrControlsEnabled(false);
    for (const char* name : {"TabSheetSongInfo", "TabSheetTracks", "TabSheetArrangements",
                             "TabSheetPatterns", "TabSheetEffects"})
        QVERIFY2(!child<QWidget>(name)->isEnabled(), name);
    QVERIFY(!m_view->songTitleEdit()->isEnabled());
    QVERIFY(!child<QWidget>("TabControl1")->isEnabled());
    QCOMPARE(arrange->color(), arrange->fixedColor());
    QCOMPARE(tracks->color(), tracks->fixedColor());
    QCOMPARE(m_view->notesEdit()->palette().color(QPalette::Base),
             m_view->palette().color(QPalette::Active, QPalette::Button));
}

void SongDetailsViewTest::trackUsagePaintsUsedPlacesGreen() {
    load("SONG001");
    m_view->setBrControlsEnabled(true);
    m_view->show();
    m_view->pageControl()->setCurrentIndex(tabIndex("TabSheetTracks"));
    QCoreApplication::processEvents();
    auto* grid = child<StringGrid>("sgTrackUsage");
    QCOMPARE(grid->rowTexts(0), (Texts({"V-Tracks", "Track 1", "Track 2", "Track 3", "Track 4",
                                        "Track 5", "Track 6", "Track 7", "Track 8"})));
    QCOMPARE(grid->cell(0, 8), QStringLiteral("v-8"));
    QCOMPARE(grid->colWidth(4), 58);
    QCOMPARE(grid->rowHeight(4), 25);
    const QImage image = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor green(0, 255, 0);
    const QColor window = grid->palette().color(QPalette::Active, QPalette::Base);
    const QRect used = grid->cellRect(3, 1); // track 2, V-track 0
    QCOMPARE(CountColour(image, used, green), used.width() * used.height());
    QCOMPARE(CountColour(image, grid->cellRect(2, 2), green), 0); // taken, then emptied
    QCOMPARE(image.pixelColor(grid->cellRect(2, 2).center()), window);
    QVERIFY(CountColour(image, grid->cellRect(8, 8), green) > 0);
    int greenCells = 0;
    for (int row = 1; row < 9; ++row) {
        for (int col = 1; col < 9; ++col)
            greenCells += image.pixelColor(grid->cellRect(col, row).center()) == green ? 1 : 0;
    }
    QCOMPARE(greenCells, 2); // the record for track 8 changed nothing

    // Headings are centred, three pixels below the cell's top.
    const QRect heading = grid->cellRect(1, 0);
    const QString text = grid->cell(1, 0);
    const auto reference = ReferenceInk(grid->font(), text);
    const int advance = QFontMetrics(grid->font()).horizontalAdvance(text);
    const Ink ink = InkExtent(image, heading, grid->fixedColor());
    QCOMPARE(ink.left, heading.left() + (heading.width() - advance) / 2 + reference.left);
    QCOMPARE(InkTop(image, heading, grid->fixedColor()), heading.top() + 3 + reference.top);
    const QColor buttonText = grid->palette().color(QPalette::Active, QPalette::ButtonText);
    QVERIFY(InkIs(image, heading, buttonText));
}

void SongDetailsViewTest::disabledTrackUsageIsGreyOnFixedColour() {
    load("SONG001");
    m_view->setBrControlsEnabled(false);
    m_view->show();
    m_view->pageControl()->setCurrentIndex(tabIndex("TabSheetTracks"));
    QCoreApplication::processEvents();
    auto* grid = child<StringGrid>("sgTrackUsage");
    const QImage image = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect used = grid->cellRect(3, 1);
    QCOMPARE(CountColour(image, used, grid->fixedColor()), used.width() * used.height());
    QCOMPARE(image.pixelColor(grid->cellRect(5, 5).center()), grid->fixedColor());
    const QColor grey = grid->palette().color(QPalette::Disabled, QPalette::Text);
    const QRect heading = grid->cellRect(0, 0);
    QVERIFY(InkIs(image, heading, grey));
}

void SongDetailsViewTest::arrangementTabsAreOwnerDrawn() {
    load("SONG001");
    m_view->setBrControlsEnabled(true);
    m_view->show();
    m_view->pageControl()->setCurrentIndex(tabIndex("TabSheetArrangements"));
    QCoreApplication::processEvents();
    auto* tabs = child<ArrangementTabBar>("TabControl1");
    QCOMPARE(tabs->tabRect(0).width(), 105);
    QCOMPARE(tabs->tabRect(3).width(), 105);
    const QColor face = tabs->palette().color(QPalette::Active, QPalette::Button);
    const QColor windowText = tabs->palette().color(QPalette::Active, QPalette::WindowText);
    const QColor grey = tabs->palette().color(QPalette::Disabled, QPalette::Text);
    QImage image = tabs->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect rect = tabs->tabRect(1);
    const QRect inside = rect.adjusted(1, 1, -1, -1);
    const QString caption = tabs->tabText(1);
    const auto reference = ReferenceInk(tabs->font(), caption);
    const int advance = QFontMetrics(tabs->font()).horizontalAdvance(caption);
    QCOMPARE(image.pixelColor(rect.left() + 2, rect.top() + 1), face);
    QCOMPARE(InkExtent(image, inside, face).left,
             rect.left() + (rect.width() - advance) / 2 + reference.left);
    QCOMPARE(InkTop(image, inside, face), rect.top() + 3 + reference.top);
    QVERIFY(InkIs(image, inside, windowText));

    m_view->setBrControlsEnabled(false);
    image = tabs->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(InkIs(image, inside, grey));
}

QTEST_MAIN(SongDetailsViewTest)
#include "songdetailsview_test.moc"
