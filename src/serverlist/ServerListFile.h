#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;

namespace horlan {

// The server list file, list.txt in the program data folder: 8-bit text (Latin-1 here), one
// host name per line. A line ends at CR or CR LF; a lone LF stays inside its line. Every line
// that is not empty or spaces only is one entry, taken verbatim.

// True when `Path` can be opened for reading; false for a missing file, a folder or an
// unreadable file. Never throws.
bool fileexists(const QString& Path);

// The 14 built-in time servers, in the order they are added.
QStringList BuiltInServerList();

// Splits file bytes into lines by the list file's line rule (no line ends included).
QList<QByteArray> SplitListLines(const QByteArray& bytes);

// Whether a line is no entry: empty or spaces (32) only.
bool IsBlankListLine(const QByteArray& line);

// Appends the built-in servers behind the entries already there and selects index 0.
void LoadInternalList(QComboBox& Combo1);

// The list file's path: the program data folder (with `fallbackFolder` as its fallback)
// followed by "list.txt".
QString ListFilePath(const QString& fallbackFolder);

// The start-up refresh's temporary file, beside list.txt.
QString TempFilePath(const QString& fallbackFolder);

// Appends one block to the list file (created when missing): CR LF before each entry of
// `Combo1` in index order, then a closing CR LF. Throws RuntimeError when it cannot write.
void CreateList(QComboBox& Combo1, const QString& fallbackFolder);

// Fills `cCombobox` from `sCurrentFile` and selects the first entry. When the file cannot be
// read or yields no entry, falls back to LoadInternalList then CreateList; only a failure of
// that fallback reaches the caller.
void LoadComboFromFile(QComboBox& cCombobox, const QString& sCurrentFile,
                       const QString& fallbackFolder);

// Copies `source` into `target` (created or emptied) with every line end made CR LF; a lone
// LF inside a line becomes CR LF too. Throws RuntimeError 53 when `source` does not exist and
// 75 when a file cannot be opened, read or written.
void ConvertLineFeeds(const QString& source, const QString& target);

// The start-up refresh: rewrites list.txt with CR LF line ends through temp.txt and one
// atomic rename, so an interruption leaves either the old or the new list.txt. A temp.txt
// left by an earlier interruption is overwritten. Throws RuntimeError 53 when list.txt is
// missing (the caller then loads and writes the built-in list), 75 on other file failures.
void RefreshListFile(const QString& fallbackFolder);

} // namespace horlan
