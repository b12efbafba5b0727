#pragma once

#include <QChar>
#include <QString>

namespace horlan {

// Shell identifier of the per-user application data folder.
inline constexpr int CSIDL_APPDATA = 26;

// The platform's folder separator: every folder path returned here ends with it.
QChar PathSeparator();

// The program data folder ("Vantorel software/Horlan" below the user's application data
// folder), created when missing, with a trailing separator. When the folder cannot be found
// or created, `fallback` with a trailing separator. Never throws, never shows a message.
QString GetAppDataFolder(const QString& fallback);

// The path of a special folder with a trailing separator, or an empty text when the system
// has none. Only CSIDL_APPDATA is known; every other identifier gives an empty text.
QString GetSpecialFolder(int csidl);

// Whether `path` (trailing separators ignored) names an existing folder; a plain file of
// that name does not count.
bool FolderExists(const QString& path);

// `text` with one separator appended unless it already ends with one ("" gives "/").
QString AddBackslash(const QString& text);

// `text` with every trailing separator removed.
QString StripBackslashes(const QString& text);

} // namespace horlan
