#pragma once

#include "card/arrangefile.h"
#include "card/effectsfile.h"
#include "card/patternfile.h"
#include "card/recordermodel.h"
#include "card/songinfofile.h"
#include "card/songlistitem.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// The card content object: everything read from the folder currently shown, which is
// taken as a card root (a folder holding Roland/BR0, a card's root or a backup copy).
// Paths end in '/'.
class SOV_Info {
public:
    static constexpr std::size_t DiskInfoSize = 56;

    // Makes `folder` the card root and reloads everything.
    void LoadFolder(const QString& folder);
    // Rebuilds the song list from the song folders and selects the first song.
    void BuildCatalogue();
    void ClearCatalogue();
    // The drive holding the folder went away: no songs and no current song, so that nothing
    // is read from or written to it any more; the media lists are refreshed for the folder
    // as it now is.
    void ForgetFolder();
    // Makes the song with this id current and loads its recorder files. False (and nothing
    // changes) when no song has that id.
    bool SelectSong(const QString& songId);
    // Writes an 8-byte, space-padded name into the current song's information record at
    // offset 48, with one write and a flush. True only when all 8 bytes were written; nothing
    // is written when there is no current song, the record is missing or shorter than 56
    // bytes, or it cannot be opened or positioned.
    bool WriteSongName(const QString& text);

    // Media lists are filled by the media centre; it hooks in here.
    void setMediaListRefresher(std::function<void(SOV_Info&)> refresher) {
        m_refreshMediaLists = std::move(refresher);
    }
    const std::function<void(SOV_Info&)>& mediaListRefresher() const { return m_refreshMediaLists; }

    RecorderModel cardModel() const { return m_cardModel; }
    void setCardModel(RecorderModel model) { m_cardModel = model; }

    const QString& rootPath() const { return m_rootPath; }
    const QString& rolandPath() const { return m_rolandPath; }
    const QString& br0Path() const { return m_br0Path; }
    bool hasSongs() const { return m_hasSongs; }
    const std::vector<SongListItem>& songs() const { return m_songs; }
    const SongListItem* currentSong() const;
    int currentIndex() const { return m_currentIndex; }
    const QString& songPath() const { return m_songPath; }
    const QStringList& mediaFolders() const { return m_mediaFolders; }

    const std::array<std::uint8_t, DiskInfoSize>& diskInfo() const { return m_diskInfo; }
    const SongInfoImage& songInfo() const { return m_songInfo; }
    const ArrangeImage& arrangeData() const { return m_arrangeData; }
    const PatternImage& patternData() const { return m_patternData; }
    const EffectsImage& effectsData() const { return m_effectsData; }
    bool effectsLoaded() const { return m_effectsLoaded; }

private:
    void readDiskInfo();
    void buildCatalogue(const QStringList& entries);

    std::array<std::uint8_t, DiskInfoSize> m_diskInfo{};
    SongInfoImage m_songInfo;
    ArrangeImage m_arrangeData;
    PatternImage m_patternData;
    EffectsImage m_effectsData;
    bool m_effectsLoaded = false;
    RecorderModel m_cardModel = RecorderModel::None;
    QString m_rootPath;
    QString m_rolandPath;
    QString m_br0Path;
    bool m_hasSongs = false;
    std::vector<SongListItem> m_songs;
    int m_currentIndex = -1;
    QString m_songPath;
    QStringList m_mediaFolders;
    std::function<void(SOV_Info&)> m_refreshMediaLists;
};

// Orders song ids as the catalogue does: by the locale's collation where it has one, else
// ignoring case first with lower case before upper case between otherwise equal ids.
bool SongIdLess(const QString& a, const QString& b);
