#include "transfer/sizetext.h"

#include <QLocale>
#include <algorithm>
#include <filesystem>
#include <system_error>

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

std::int32_t Walk(const std::filesystem::path& folder, std::uint64_t& total) {
    namespace fs = std::filesystem;
    std::int32_t count = 0;
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code entryError;
        const fs::file_status status = entry.symlink_status(entryError);
        if (entryError)
            continue;
        if (fs::is_directory(status)) {
            count += Walk(entry.path(), total);
            continue;
        }
        std::uint64_t size = 0;
        if (fs::is_symlink(status)) {
            // A link is never followed: it counts as a file the size of its own text.
            size = fs::read_symlink(entry.path(), entryError).native().size();
        } else if (fs::is_regular_file(status)) {
            const std::uintmax_t bytes = fs::file_size(entry.path(), entryError);
            size = entryError ? 0 : static_cast<std::uint64_t>(bytes);
        }
        total += size;
        ++count;
    }
    return count;
}

} // namespace

std::int32_t FolderSize(const QString& folder, std::uint64_t& total) {
    total = 0;
    std::error_code ec;
    const std::filesystem::path root(folder.toStdU16String());
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(root, ec)))
        return 0;
    return Walk(root, total);
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
