#include "card/arrangementview.h"

#include "card/gridcolumns.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "card/vocabulary.h"
#include "transfer/sizetext.h"

namespace {

constexpr std::int64_t MsPerHour = 3600000;
constexpr std::int64_t MsPerMinute = 60000;
constexpr std::int64_t MsPerSecond = 1000;
// Milliseconds of one beat at a tempo of 0.1 beats per minute.
constexpr std::int64_t BeatTenthsMs = 600000;

QString TwoDigits(std::int64_t value) {
    return QString::number(value).rightJustified(2, u'0');
}

QStringList BlankRow() {
    QStringList row;
    for (int c = 0; c < ArrangementView::Columns; ++c)
        row.append(QString());
    return row;
}

QString PatternText(const ArrangeStep& step, const PatternImage& patterns) {
    const QString number = ZeroPadded(static_cast<long long>(step.pattern) + 1, 3);
    if (step.isSongPattern())
        return u'S' + number + u": " + patterns.name(step.pattern);
    return u'P' + number + u": " + PresetPatternName(step.pattern);
}

// The next step's start when it is used and there is a next step.
bool StepLength(const ArrangeImage& arrange, int a, int s, int& length) {
    if (s + 1 >= ArrangeImage::Steps)
        return false;
    const ArrangeStep next = arrange.step(a, s + 1);
    if (next.isUnused())
        return false;
    length = static_cast<int>(next.start) - static_cast<int>(arrange.step(a, s).start);
    return true;
}

void FillSteps(ArrangementView& view, const ArrangeImage& arrange, const PatternImage& patterns,
               int a) {
    const QString middleDots(3, QChar(0xB7));
    std::int64_t total = 0;
    bool ended = false;
    for (int s = 0; s < ArrangeImage::Steps; ++s) {
        const ArrangeStep step = arrange.step(a, s);
        ended = ended || step.isUnused();
        if (ended) {
            view.rows.append(BlankRow());
            continue;
        }
        int length = 0;
        const bool hasLength = StepLength(arrange, a, s, length);
        view.rows.append({QString::number(s + 1), QString::number(int(step.start) + 1),
                          hasLength ? QString::number(length) : middleDots,
                          PatternText(step, patterns), QString::number(step.length),
                          TempoText(step.tempo), TimeSignatureText(step.timeSignature)});
        if (!step.isSongPattern() && step.pattern == PresetPatternBreak && !hasLength)
            view.timeText = ArrangementTimeText(total);
        else if (hasLength)
            total += StepMilliseconds(length, TimeSignatureBeats(step.timeSignature), step.tempo);
    }
}

} // namespace

QString DefaultArrangementCaption(int a) {
    return u"S0" + QString::number(a + 1);
}

QString ArrangementTimeText(std::int64_t totalMs) {
    const std::int64_t t = totalMs + MsPerSecond / 2;
    const std::int64_t h = t / MsPerHour;
    const std::int64_t m = t / MsPerMinute;
    const std::int64_t sec = (t % MsPerMinute) / MsPerSecond;
    if (h == 0)
        return u"  " + QString::number(m) + u':' + TwoDigits(sec);
    return u"  " + QString::number(h) + u':' + TwoDigits(m % 60) + u':' + TwoDigits(sec);
}

QString TempoText(int tenths) {
    QString text = QString::number(tenths);
    text.insert(text.size() - 1, u'.');
    return text;
}

std::int64_t StepMilliseconds(int measures, int beats, int tempoTenths) {
    if (tempoTenths == 0)
        return 0;
    return std::int64_t{measures} * beats * BeatTenthsMs / tempoTenths;
}

bool ArrangementViewBlank(const SOV_Info& info) {
    const SongListItem* song = info.currentSong();
    return info.songs().empty() || song == nullptr || song->isMicroBR;
}

ArrangementView ShowArrangement(const ArrangeImage& arrange, const PatternImage& patterns,
                                int arrangement, bool blank) {
    ArrangementView view;
    if (blank) {
        for (int s = 0; s < ArrangementView::Rows; ++s)
            view.rows.append(BlankRow());
        return view;
    }
    view.shown = true;
    for (int a = 0; a < ArrangeImage::Arrangements; ++a)
        view.captions.append(DefaultArrangementCaption(a) + u" - " + TrimBlanks(arrange.name(a)));
    const int item = arrange.drumKitBank(arrangement) * 9 + arrange.drumKitNumber(arrangement);
    view.drumKitItem = item < DrumKitCount ? item : ArrangementView::BlankDrumKitItem;
    view.timeText = QStringLiteral("  n/a");
    FillSteps(view, arrange, patterns, arrangement);
    return view;
}

ArrangementView ShowArrangement(const SOV_Info& info, int arrangement) {
    return ShowArrangement(info.arrangeData(), info.patternData(), arrangement,
                           ArrangementViewBlank(info));
}

QList<QStringList> ArrangementGrid(const ArrangementView& view) {
    QList<QStringList> grid =
        GridHeadingRows(ArrangeColumns, ArrangementView::Columns, ArrangeFixedRows);
    grid.append(view.rows);
    return grid;
}

QString ArrangementClipboardText(const ArrangementView& view) {
    return GridToText(ArrangementGrid(view), 0);
}
