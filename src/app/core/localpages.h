#pragma once

#include <QString>

// The program's local web pages, opened in the browser: the help page and the home page.
// Each is "index.html" of its own folder ("help", "home"), looked for in this order:
//  1. installed beside the program: <program folder>/../share/sorvane/<folder>/;
//  2. in the data folders of the desktop (~/.local/share, /usr/share, ...);
//  3. in a source tree the program was built in: docs/<folder>/ in the program's folder
//     or one of its parents (a build folder inside the source tree).
// When none exists the installed path is returned, so the browser reports it missing.
QString HelpPagePath();
QString HomePagePath();

// The same search for a program in `programFolder`.
QString FindLocalPage(const QString& programFolder, const QString& folder);
