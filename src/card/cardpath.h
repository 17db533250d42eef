#pragma once

#include <QString>

// Names on a card are matched without regard to letter case, as the card's own file
// system does. These helpers find the entry a name means on any file system.

// The path of `relative` (components separated by '/' or '\\') below the folder `base`.
// Each component resolves to the exact name when it exists, else to the first entry of
// its folder that equals it ignoring ASCII case, else to the name as given. The result
// uses '/' and never ends in a separator unless `relative` is empty and `base` did.
QString ResolveCardPath(const QString& base, const QString& relative);

// `folder` with a trailing native separator added when it has none.
QString WithTrailingSeparator(const QString& folder);

// True when `name` matches the pattern "SONG*.BR0" ignoring ASCII case.
bool MatchesSongPattern(const QString& name);

// True when `a` equals `b` ignoring the case of ASCII letters only.
bool EqualsIgnoringAsciiCase(const QString& a, const QString& b);

// True when `path` names nothing because a name in it could not be read as UTF-8 (such a name,
// made on an older system, is shown with replacement characters and so cannot be found).
bool NameUnreadableAsUtf8(const QString& path);

// The sentence that says so, for the window and the command-line companion.
QString UnreadableNameText(const QString& path);
