#include "transfer/sizetext.h"

#include <QFile>
#include <QLocale>
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QString FormatSizeText(std::int64_t bytes, int mode) {
    const QLocale locale;
    const bool megabytes = mode == SizeUnitMB || (mode != SizeUnitKB && bytes >= 1000000);
    const long double scale = megabytes ? 0.000001L : 0.001L;
    const double value = static_cast<double>(static_cast<long double>(bytes) * scale);
    const std::int64_t wholeFrom = megabytes ? 1000000 : 1000;
    QString number;
    if (bytes < wholeFrom) {
        QLocale plain = locale;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        number = plain.toString(value, 'f', 2);
    } else {
        number = locale.toString(value, 'f', 0);
    }
    return number + (megabytes ? QStringLiteral(" MB") : QStringLiteral(" KB"));
}

namespace {

#ifdef Q_OS_UNIX

// One folder of the walk: the names of its sub-folders still to visit.
struct PendingFolders {
    std::vector<std::string> names;
};

// One entry of a folder open as `fd`: a sub-folder is kept for later, anything else counted
// (a link is never followed: it counts as a file the size of its own text).
void CountEntry(int fd, const char* name, unsigned char type, PendingFolders& pending,
                std::int32_t& count, std::uint64_t& total) {
    if (type == DT_DIR) {
        pending.names.emplace_back(name);
        return;
    }
    struct stat info {};
    if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (S_ISDIR(info.st_mode)) {
        pending.names.emplace_back(name);
        return;
    }
    if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))
        total += static_cast<std::uint64_t>(info.st_size);
    ++count;
}

// Lists the folder open as `fd`: files (and links, and anything else) are counted and
// totalled at once, sub-folder names are returned, so that no more than one folder is open at
// a time whatever the depth.
PendingFolders ListFolder(int fd, std::int32_t& count, std::uint64_t& total) {
    PendingFolders pending;
    // The entries are read straight from the descriptor, in blocks.
    alignas(8) char buffer[32768];
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            CountEntry(fd, name, entry->d_type, pending, count, total);
        }
    }
    return pending;
}

// Depth first with one open folder: down by name (never through a link), back up through
// "..". Memory holds only the names still to visit on the way down.
std::int32_t Walk(const QString& folder, std::uint64_t& total) {
    std::int32_t count = 0;
    int fd = ::open(QFile::encodeName(folder).constData(),
                    O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    std::vector<PendingFolders> stack;
    stack.push_back(ListFolder(fd, count, total));
    while (!stack.empty()) {
        std::vector<std::string>& names = stack.back().names;
        if (names.empty()) {
            stack.pop_back();
            if (stack.empty())
                break;
            const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = parent;
            if (fd < 0)
                return count;
            continue;
        }
        const std::string name = std::move(names.back());
        names.pop_back();
        const int child =
            ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child < 0)
            continue;
        ::close(fd);
        fd = child;
        stack.push_back(ListFolder(fd, count, total));
    }
    ::close(fd);
    return count;
}

#else

std::int32_t Walk(const QString& folder, std::uint64_t& total) {
    namespace fs = std::filesystem;
    std::int32_t count = 0;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder.toStdU16String(),
                                        fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code entryError;
        const fs::file_status status = it->symlink_status(entryError);
        if (entryError || fs::is_directory(status))
            continue;
        if (fs::is_regular_file(status))
            total += static_cast<std::uint64_t>(fs::file_size(it->path(), entryError));
        ++count;
    }
    return count;
}

#endif

} // namespace

std::int32_t FolderSize(const QString& folder, std::uint64_t& total) {
    total = 0;
#ifndef Q_OS_UNIX
    std::error_code ec;
    const std::filesystem::path root(folder.toStdU16String());
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(root, ec)))
        return 0;
#endif
    // On Unix the walk's first open refuses anything but a folder, and a link to one.
    return Walk(folder, total);
}

QString FixedFieldText(std::span<const std::uint8_t> bytes, int width) {
    QString out;
    const std::size_t limit =
        width <= 0 ? 0 : std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < limit && bytes[i] != 0; ++i)
        out.append(QChar(static_cast<char16_t>(bytes[i])));
    return out;
}

QString ZeroPadded(long long value, int width) {
    if (width <= 0)
        return QString();
    const QString digits = QString(width, u'0') + QString::number(value);
    return digits.right(width);
}

bool IsBlankText(const QString& text) {
    for (QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            return false;
    }
    return true;
}

bool IsBlankText(const char* text) {
    if (!text)
        return true;
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n')
            return false;
    }
    return true;
}

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}
