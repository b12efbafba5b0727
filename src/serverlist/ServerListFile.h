#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace horlan {

// The server list file, list.txt in the program data folder: 8-bit text (Latin-1 here), one
// host name per line. A line ends at CR or CR LF; a lone LF stays inside its line. Every line
// that is not empty or spaces only is one entry, taken verbatim. The file is read and
// appended to only when it is a regular file: a FIFO or a device in its place counts as a
// file that cannot be read.
//
// The procedures work on lists of entries; the main window puts them into its drop-down.

// True when `path` is a regular file that can be opened for reading; false for a missing
// file, a folder, a FIFO or an unreadable file. Never throws.
bool fileexists(const QString& path);

// The 14 built-in time servers, in the order they are added.
QStringList BuiltInServerList();

// Splits file bytes into lines by the list file's line rule (no line ends included).
QList<QByteArray> SplitListLines(QByteArrayView bytes);

// Whether a line is no entry: empty or spaces (32) only.
bool IsBlankListLine(QByteArrayView line);

// The entries that file bytes hold, in file order.
QStringList ListEntries(QByteArrayView bytes);

// File bytes with every line end made CR LF, and every lone LF inside a line too; what
// ConvertLineFeeds writes.
QByteArray ConvertLineEnds(QByteArrayView bytes);

// Appends the built-in servers behind the entries already there.
void LoadInternalList(QStringList& entries);

// The list file's path: the program data folder (with `fallbackFolder` as its fallback)
// followed by "list.txt".
QString ListFilePath(const QString& fallbackFolder);

// The start-up refresh's temporary file, beside list.txt.
QString TempFilePath(const QString& fallbackFolder);

// Appends one block to the list file (created when missing, through a dangling symbolic link
// at its target): CR LF before each entry, then a closing CR LF. Throws RuntimeError 75 when
// it cannot write.
void CreateList(const QStringList& entries, const QString& fallbackFolder);

// The entries of the list file at `path`. Throws RuntimeError 53 when nothing is there and 75
// when it cannot be read.
QStringList ReadListFile(const QString& path);

// The entries of `currentFile`. When it cannot be read or yields no entry, the built-in
// servers are appended (LoadInternalList) and written (CreateList); only a failure of that
// fallback reaches the caller.
QStringList LoadComboFromFile(const QString& currentFile, const QString& fallbackFolder);

// Copies `source` into `target` (created or emptied) by ConvertLineEnds. Throws RuntimeError
// 53 when `source` does not exist and 75 when a file cannot be opened, read or written.
void ConvertLineFeeds(const QString& source, const QString& target);

// The start-up refresh: rewrites list.txt with CR LF line ends through temp.txt and one
// atomic rename, so an interruption leaves either the old or the new list.txt; a list.txt
// that already has them is not written at all. A temp.txt left by an earlier interruption is
// overwritten. Throws RuntimeError 53 when list.txt is
// missing (the caller then loads and writes the built-in list), 75 on other file failures.
void RefreshListFile(const QString& fallbackFolder);

} // namespace horlan
