#pragma once

#include <QString>
#include <cstdint>
#include <span>

// Unit modes of FormatSizeText.
enum SizeUnit : int { SizeUnitAuto = 0, SizeUnitKB = 1, SizeUnitMB = 2 };

// A byte count as decimal kilobytes or megabytes ("1,000 KB", "0.50 MB"), with the
// separators of the current locale (QLocale()).
QString FormatSizeText(std::int64_t bytes, int mode);

// Number of files below `folder`, counted recursively (hidden files included); `total`
// receives their byte total. Symbolic links to folders are not followed (a link counts as
// a file of its own size); entries that cannot be listed are skipped.
std::int32_t FolderSize(const QString& folder, std::uint64_t& total);

// The bytes up to the first zero byte, or all `width` bytes; Latin-1.
QString FixedFieldText(std::span<const std::uint8_t> bytes, int width);

// Decimal text of `value` zero-padded to `width`, keeping only the last `width` characters.
QString ZeroPadded(long long value, int width);

// True when every character is a blank, tab, CR or LF (an empty text is blank).
bool IsBlankText(const QString& text);
bool IsBlankText(const char* text);

// `text` without its leading and trailing characters of codes up to 32 (blanks and control
// characters), as the recorder's padded fields are trimmed.
QString TrimBlanks(const QString& text);
