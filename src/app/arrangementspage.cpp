#include "app/arrangementspage.h"

#include "app/arrangementtabbar.h"
#include "app/gridbody.h"
#include "app/gridutil.h"
#include "app/stringgrid.h"
#include "card/arrangementview.h"
#include "card/gridcolumns.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "card/vocabulary.h"
#include "media/strgrid.h"

#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The step editing buttons have no function; the group stays hidden.
QGroupBox* HiddenStepGroup() {
    auto* group = new QGroupBox(QObject::tr("Step"));
    group->setObjectName(QStringLiteral("GroupBoxStep"));
    auto* layout = new QVBoxLayout(group);
    for (const char* caption : {"Insert", "Delete", "Edit"})
        layout->addWidget(new QPushButton(QObject::tr(caption)));
    group->hide();
    return group;
}

} // namespace

ArrangementsPage::ArrangementsPage(SOV_Info& info, StrGrid& format, QWidget* parent)
    : QWidget(parent), m_info(info),
      m_clipboard([](const QString& text) { QGuiApplication::clipboard()->setText(text); }) {
    setObjectName(QStringLiteral("TabSheetArrangements"));
    m_tabs = new ArrangementTabBar;
    for (int a = 0; a < Arrangements; ++a)
        m_tabs->addTab(DefaultArrangementCaption(a));

    m_grid = new StringGrid;
    m_grid->setObjectName(QStringLiteral("sgArrange"));
    m_grid->setDefaultRowHeight(RowHeight);
    m_grid->setColCount(ColumnCount);
    m_grid->setRowCount(RowCount);
    m_grid->setFixedCols(0);
    m_grid->setFixedRows(ArrangeFixedRows);
    m_grid->setGridLines(StringGrid::FixedVertLine | StringGrid::FixedHorzLine |
                         StringGrid::VertLine | StringGrid::HorzLine);
    format.AttachGrid(*m_grid);
    format.SetColumns(ArrangeColumns);
    UseStrGridDrawing(*m_grid);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenuArrangement"));
    QAction* copy = m_popup->addAction(tr("Copy Arrangement to Clipboard"));
    copy->setObjectName(QStringLiteral("CopyArrangementtoClipboard1"));
    connect(copy, &QAction::triggered, this, [this] { CopyArrangementtoClipboard1Click(); });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_popup->popup(m_grid->viewport()->mapToGlobal(pos)); });

    auto* body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    body->addWidget(buildSidePanel());
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(m_tabs);
    layout->addLayout(body, 1);

    connect(m_tabs, &QTabBar::currentChanged, this, [this] { TabControl1Change(); });
}

QWidget* ArrangementsPage::buildSidePanel() {
    m_sidePanel = new QWidget;
    m_sidePanel->setObjectName(QStringLiteral("PanelArrangeInfo"));
    m_drumKitLabel = new QLabel(tr("Drum Kit:"));
    m_drumKitLabel->setObjectName(QStringLiteral("LabelDrumKit"));
    m_drumKit = new QComboBox;
    m_drumKit->setObjectName(QStringLiteral("cbDrumKit"));
    for (int item = 0; item < DrumKitCount; ++item)
        m_drumKit->addItem(DrumKitText(item));
    m_drumKit->setEnabled(false);
    auto* timeLabel = new QLabel(tr("Time:"));
    timeLabel->setObjectName(QStringLiteral("LabelTimeCaption"));
    m_duration = new QLabel;
    m_duration->setObjectName(QStringLiteral("LabelDuration"));

    auto* layout = new QGridLayout(m_sidePanel);
    layout->addWidget(m_drumKitLabel, 0, 0);
    layout->addWidget(m_drumKit, 1, 0);
    layout->addWidget(timeLabel, 2, 0);
    layout->addWidget(m_duration, 3, 0);
    layout->addWidget(HiddenStepGroup(), 4, 0);
    layout->setRowStretch(5, 1);
    return m_sidePanel;
}

void ArrangementsPage::ShowArrangement() {
    const ArrangementView view = ::ShowArrangement(m_info, std::max(0, m_tabs->currentIndex()));
    if (!view.shown) {
        m_duration->setText(QString());
        ClearGrid(*m_grid);
        return;
    }
    for (int a = 0; a < std::min<int>(Arrangements, view.captions.size()); ++a)
        m_tabs->setTabText(a, view.captions[a]);
    if (view.drumKitItem >= 0 && view.drumKitItem < m_drumKit->count())
        m_drumKit->setCurrentIndex(view.drumKitItem);
    m_duration->setText(view.timeText);
    SetGridBody(*m_grid, view.rows);
    m_grid->setTopRow(m_grid->fixedRows());
}

void ArrangementsPage::showBlankDrumKit() {
    m_drumKit->setCurrentIndex(ArrangementView::BlankDrumKitItem);
}

void ArrangementsPage::setBrEnabled(bool on) {
    m_tabs->setEnabled(on);
    m_grid->setEnabled(on);
    m_sidePanel->setEnabled(on);
    m_drumKitLabel->setEnabled(on);
    m_grid->setColor(on ? palette().color(QPalette::Active, QPalette::Base) : m_grid->fixedColor());
}

void ArrangementsPage::CopyArrangementtoClipboard1Click() {
    if (m_clipboard)
        m_clipboard(GridToText(GridRows(*m_grid), 0));
}

void ArrangementsPage::TabControl1Change() {
    ShowArrangement();
}
