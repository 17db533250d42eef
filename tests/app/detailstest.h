#pragma once

// Helpers shared by the widget tests of the song-details pages: ink measurement on grabbed
// images and a card root holding songs of several models.

#include "fixture/cardfixture.h"
#include "fixture/songfilesfixture.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <initializer_list>

namespace detailstest {

// Cell texts written as UTF-8 literals.
inline QStringList Texts(std::initializer_list<const char*> items) {
    QStringList texts;
    for (const char* item : items)
        texts.append(QString::fromUtf8(item));
    return texts;
}

// The leftmost and rightmost x inside `area` of a pixel that differs from `background`;
// (-1, -1) when there is none.
struct Ink {
    int left = -1;
    int right = -1;
    bool found() const { return left >= 0; }
};

inline Ink InkExtent(const QImage& image, const QRect& area, const QColor& background) {
    Ink ink;
    const QRgb plain = background.rgb();
    const QRect inside = area.intersected(image.rect());
    for (int x = inside.left(); x <= inside.right(); ++x) {
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            if (image.pixel(x, y) == plain)
                continue;
            if (ink.left < 0)
                ink.left = x;
            ink.right = x;
            break;
        }
    }
    return ink;
}

// The topmost row inside `area` holding a pixel that differs from `background`; -1 when none.
inline int InkTop(const QImage& image, const QRect& area, const QColor& background) {
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (image.pixel(x, y) != background.rgb())
                return y;
        }
    }
    return -1;
}

// Where the ink of `text` lies when its top-left corner is drawn at (0, 0) in `font`: the
// glyphs' own bearings, to be added to the position a painter was given.
struct ReferenceInkOf {
    int left = -1;
    int top = -1;
};

inline ReferenceInkOf ReferenceInk(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 40, metrics.height() + 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(20, metrics.ascent(), text);
    }
    return {InkExtent(image, image.rect(), Qt::white).left - 20,
            InkTop(image, image.rect(), Qt::white)};
}

// Number of pixels inside `area` of exactly `colour`.
inline int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (image.pixel(x, y) == colour.rgb())
                ++count;
        }
    }
    return count;
}

// True when the darkest pixel of `area` (the full-coverage ink of a text darker than its
// background) is `ink`, allowing for the rounding of antialiased edges.
inline bool InkIs(const QImage& image, const QRect& area, const QColor& ink) {
    constexpr int Tolerance = 4;
    QColor darkest = Qt::white;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.lightness() < darkest.lightness())
                darkest = c;
        }
    }
    return std::abs(darkest.red() - ink.red()) <= Tolerance &&
           std::abs(darkest.green() - ink.green()) <= Tolerance &&
           std::abs(darkest.blue() - ink.blue()) <= Tolerance;
}

// The 8-point font the details grids use.
inline QFont GridFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    return font;
}

// A card root in a fresh temporary folder with three songs:
// - SONG001, a BR-864 song with arrangements, song patterns, effect patches, takes, a title
//   and notes;
// - SONG002, a MICRO BR song (the BR-900 tag and SONGPRM.BR1) that also holds an arrangement
//   file, so that blanking is visible;
// - SONG003, a BR-532 song with arrangements and effect patches.
class DetailsCard {
public:
    DetailsCard() : m_card(m_dir.path()) {}

    bool build() { return m_dir.isValid() && buildSong001() && buildSong002() && buildSong003(); }
    const CardFixture& card() const { return m_card; }
    QString root() const { return m_dir.path(); }
    QString songFile(const QString& folderName, const QString& name) const {
        return m_card.path(m_card.songFolder(folderName) + u'/' + name);
    }

private:
    bool buildSong001() {
        const QString song = QStringLiteral("SONG001.BR0");
        ArrangeFileBuilder arrange;
        arrange.name(0, "INTRO").drumKit(0, 0, 2);
        arrange.steps(0, {FixtureStep::Preset(0, 0, 4), FixtureStep::Song(4, 11, 4),
                          FixtureStep::Preset(8, 326, 1)});
        arrange.name(1, "VERSE").drumKit(1, 0, 0);
        arrange.name(2, "  CHORUS ").drumKit(2, 1, 2);
        arrange.steps(2, {FixtureStep::Preset(0, 96, 2, 955, 18), FixtureStep::Preset(2, 326)});
        arrange.name(4, "END");
        PatternFileBuilder patterns;
        patterns.record(0, "FIRST", 19, 2).record(11, "GROOVE12", 19, 4);
        EffectsFileBuilder effects;
        effects.patch(FixtureBank::GTR, 0, "CLEAN", 0).patch(FixtureBank::MTK, 1, "MASTER2", 20);
        TakeEvtBuilder takes;
        takes.taken(2, 0).taken(1, 1).emptied(1, 1).taken(7, 7).taken(8, 0);
        return m_card.writeSongInfo(song,
                                    SongInfoRecord::ForModel(RecorderModel::BR864, "FIRST", 2)) &&
               arrange.write(m_card, song) && patterns.write(m_card, song) &&
               effects.write(m_card, song) && takes.write(m_card, song) &&
               WriteSongInfoDat(m_card, song, "A longer title") &&
               WriteNotes(m_card, song, {"line one", "line two"});
    }
    bool buildSong002() {
        const QString song = QStringLiteral("SONG002.BR0");
        ArrangeFileBuilder arrange;
        arrange.name(0, "MICRO").drumKit(0, 0, 1);
        arrange.steps(0, {FixtureStep::Preset(0, 0, 4), FixtureStep::Preset(4, 326)});
        EffectsFileBuilder effects;
        effects.patch(FixtureBank::GTR, 0, "MICROFX", 1);
        return m_card.writeSongInfo(
                   song, SongInfoRecord::ForModel(RecorderModel::MicroBR, "SECOND", 2)) &&
               m_card.writeSongParams(song) && arrange.write(m_card, song) &&
               effects.write(m_card, song);
    }
    bool buildSong003() {
        const QString song = QStringLiteral("SONG003.BR0");
        ArrangeFileBuilder arrange;
        arrange.name(0, "OLD").drumKit(0, 0, 3);
        arrange.steps(0, {FixtureStep::Preset(0, 6, 4), FixtureStep::Preset(4, 326)});
        EffectsFileBuilder effects;
        effects.patch(FixtureBank::GTR, 0, "OLDFX", 2);
        return m_card.writeSongInfo(song,
                                    SongInfoRecord::ForModel(RecorderModel::BR532, "THIRD", 3)) &&
               arrange.write(m_card, song) && effects.write(m_card, song);
    }

    QTemporaryDir m_dir;
    CardFixture m_card;
};

} // namespace detailstest
