#include "card/sovinfo.h"

#include "card/cardpath.h"
#include "card/fileimage.h"
#include "transfer/sizetext.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <unistd.h>
#endif

namespace {

// The entries of the song area named like song folders, hidden ones left out, in the order
// the listing gives them. Only names are needed, so nothing is looked up per entry.
QStringList SongEntries(const QString& br0Path) {
    QStringList songs;
#ifdef Q_OS_UNIX
    DIR* dir = ::opendir(QFile::encodeName(br0Path).constData());
    if (!dir)
        return songs;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (MatchesSongPattern(name))
            songs.append(name);
    }
    ::closedir(dir);
#else
    const QDir dir(br0Path);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& name : entries) {
        if (!name.startsWith(u'.') && MatchesSongPattern(name))
            songs.append(name);
    }
#endif
    return songs;
}

// Case-insensitive first, then lower case before upper case.
int PlainCompare(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded;
    for (qsizetype i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i])
            return a[i].isLower() ? -1 : (b[i].isLower() ? 1 : (a[i] < b[i] ? -1 : 1));
    }
    return static_cast<int>(a.size() - b.size());
}

bool LocaleHasCollation(const QLocale& locale) {
    return locale.language() != QLocale::C && locale.language() != QLocale::AnyLanguage;
}

void SortSongs(std::vector<SongListItem>& songs) {
    const QLocale locale;
    if (!LocaleHasCollation(locale)) {
        std::stable_sort(songs.begin(), songs.end(),
                         [](const SongListItem& a, const SongListItem& b) {
                             return PlainCompare(a.songId, b.songId) < 0;
                         });
        return;
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::stable_sort(songs.begin(), songs.end(),
                     [&collator](const SongListItem& a, const SongListItem& b) {
                         const int c = collator.compare(a.songId, b.songId);
                         return c != 0 ? c < 0 : PlainCompare(a.songId, b.songId) < 0;
                     });
}

} // namespace

bool SongIdLess(const QString& a, const QString& b) {
    const QLocale locale;
    if (!LocaleHasCollation(locale))
        return PlainCompare(a, b) < 0;
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    const int c = collator.compare(a, b);
    return c != 0 ? c < 0 : PlainCompare(a, b) < 0;
}

void SOV_Info::LoadFolder(const QString& folder) {
    m_rootPath = WithTrailingSeparator(folder);
    m_rolandPath = WithTrailingSeparator(ResolveCardPath(m_rootPath, QStringLiteral("Roland")));
    m_br0Path = WithTrailingSeparator(ResolveCardPath(m_rolandPath, QStringLiteral("BR0")));
    const QStringList entries =
        QFileInfo(m_br0Path).isDir() ? SongEntries(m_br0Path) : QStringList();
    m_hasSongs = !entries.isEmpty();
    buildCatalogue(entries);
    readDiskInfo();
    m_mediaFolders = {QStringLiteral("ROLAND/SMF"), QStringLiteral("ROLAND/TONELOAD"),
                      QStringLiteral("ROLAND/USB"), QStringLiteral("MP3"),
                      QStringLiteral("WAV"),        QStringLiteral("ROLAND/SKETCH")};
    if (m_refreshMediaLists)
        m_refreshMediaLists(*this);
}

void SOV_Info::readDiskInfo() {
    const QString path = ResolveCardPath(m_br0Path, QStringLiteral("diskinf2.br0"));
    if (!QFileInfo(path).isFile())
        return;
    ReadFileImage(path, m_diskInfo);
}

void SOV_Info::ForgetFolder() {
    m_hasSongs = false;
    ClearCatalogue();
    m_diskInfo.fill(0);
    if (m_refreshMediaLists)
        m_refreshMediaLists(*this);
}

void SOV_Info::ClearCatalogue() {
    m_songs.clear();
    m_currentIndex = -1;
    m_songPath.clear();
}

void SOV_Info::BuildCatalogue() {
    buildCatalogue(SongEntries(m_br0Path));
}

void SOV_Info::buildCatalogue(const QStringList& entries) {
    ClearCatalogue();
    if (entries.isEmpty())
        return;
    m_songs.reserve(static_cast<std::size_t>(entries.size()));
    for (const QString& entry : entries) {
        SongListItem item;
        item.folderName = entry;
        const QString folder = m_br0Path + entry;
        FolderSize(folder, item.size);
        item.songId = TrimBlanks(entry.left(entry.size() - 4));
        const QString infoPath = SongInfoPath(folder);
        // A missing record, or anything but a regular file, reads as no record.
        if (m_songInfo.read(infoPath)) {
            item.name = m_songInfo.name();
            item.model = RecorderModelFromTag(m_songInfo.tag());
            item.version = m_songInfo.version();
            if (item.model == RecorderModel::BR900 &&
                QFileInfo::exists(ResolveCardPath(folder, QStringLiteral("SONGPRM.BR1"))))
                item.model = RecorderModel::MicroBR;
            item.isBR532 = item.model == RecorderModel::BR532;
            item.isMicroBR = item.model == RecorderModel::MicroBR;
            item.recordMode = m_songInfo.recordMode(item.isBR532);
            item.isProtected = m_songInfo.isProtected();
        }
        m_songs.push_back(std::move(item));
    }
    SortSongs(m_songs);
    SelectSong(m_songs.front().songId);
}

bool SOV_Info::SelectSong(const QString& songId) {
    const auto it = std::find_if(m_songs.begin(), m_songs.end(),
                                 [&songId](const SongListItem& s) { return s.songId == songId; });
    if (it == m_songs.end())
        return false;
    m_currentIndex = static_cast<int>(it - m_songs.begin());
    m_songPath = m_br0Path + it->folderName + u'/';
    const bool haveSongs = !m_songs.empty();
    LoadArrangements(m_arrangeData, m_songPath, haveSongs);
    LoadPatterns(m_patternData, m_songPath, haveSongs);
    m_effectsLoaded = LoadEffects(m_effectsData, m_songPath, haveSongs);
    return true;
}

const SongListItem* SOV_Info::currentSong() const {
    if (m_currentIndex < 0 || m_currentIndex >= static_cast<int>(m_songs.size()))
        return nullptr;
    return &m_songs[static_cast<std::size_t>(m_currentIndex)];
}

bool SOV_Info::WriteSongName(const QString& text) {
    if (!currentSong() || m_songPath.isEmpty())
        return false;
    const QByteArray name =
        QString(TrimBlanks(text) + QString(8, QLatin1Char(' '))).left(8).toLatin1();
    QFile file;
    if (!OpenRegularFile(file, SongInfoPath(m_songPath), QIODevice::ReadWrite))
        return false;
    constexpr qint64 NameEnd = SongInfoImage::NameOffset + SongInfoImage::NameWidth;
    if (file.size() < NameEnd || !file.seek(SongInfoImage::NameOffset))
        return false;
    if (file.write(name.constData(), name.size()) != name.size() || !file.flush())
        return false;
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        return false;
#endif
    file.close();
    return file.error() == QFileDevice::NoError;
}
