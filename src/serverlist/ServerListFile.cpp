#include "serverlist/ServerListFile.h"

#include "runtime/RegularFile.h"
#include "runtime/RuntimeError.h"
#include "runtime/TrimSpaces.h"
#include "serverlist/ListFileDisk.h"
#include "storage/appdata.h"

#include <QFile>

namespace horlan {

namespace {

const QByteArray CrLf("\r\n");

QByteArray ReadOrRaise(const QString& path) {
    FileContents contents = ReadRegularFile(path);
    switch (contents.Status) {
    case FileStatus::Missing:
        Raise(ErrFileNotFound);
    case FileStatus::Refused:
        Raise(ErrPathFileAccess);
    case FileStatus::Done:
        break;
    }
    return std::move(contents.Bytes);
}

void WriteOrRaise(const QString& target, const QByteArray& bytes) {
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() ||
        !out.flush()) {
        Raise(ErrPathFileAccess);
    }
}

} // namespace

bool fileexists(const QString& path) {
    return CanReadRegularFile(path);
}

QStringList BuiltInServerList() {
    return {
        QStringLiteral("time.inrim.it"),        QStringLiteral("time.nist.gov"),
        QStringLiteral("time-a-b.nist.gov"),    QStringLiteral("time-a-g.nist.gov"),
        QStringLiteral("time-a-wwv.nist.gov"),  QStringLiteral("time-b-b.nist.gov"),
        QStringLiteral("time-b-g.nist.gov"),    QStringLiteral("time-b-wwv.nist.gov"),
        QStringLiteral("time-c-g.nist.gov"),    QStringLiteral("time-c-wwv.nist.gov"),
        QStringLiteral("time-d-g.nist.gov"),    QStringLiteral("time-d-wwv.nist.gov"),
        QStringLiteral("utcnist.colorado.edu"), QStringLiteral("utcnist2.colorado.edu"),
    };
}

QList<QByteArray> SplitListLines(QByteArrayView bytes) {
    QList<QByteArray> lines;
    qsizetype begin = 0;
    for (qsizetype end; (end = bytes.indexOf('\r', begin)) >= 0;) {
        lines.append(bytes.sliced(begin, end - begin).toByteArray());
        begin = end + 1;
        if (begin < bytes.size() && bytes[begin] == '\n') {
            ++begin;
        }
    }
    if (begin < bytes.size()) {
        lines.append(bytes.sliced(begin).toByteArray());
    }
    return lines;
}

bool IsBlankListLine(QByteArrayView line) {
    return TrimSpaces(line).isEmpty();
}

QStringList ListEntries(QByteArrayView bytes) {
    QStringList entries;
    for (const QByteArray& line : SplitListLines(bytes)) {
        if (!IsBlankListLine(line)) {
            entries.append(QString::fromLatin1(line));
        }
    }
    return entries;
}

QByteArray ConvertLineEnds(QByteArrayView bytes) {
    QByteArray converted;
    converted.reserve(bytes.size() + bytes.size() / 8 + 2);
    for (QByteArray line : SplitListLines(bytes)) {
        converted += line.replace('\n', CrLf) + CrLf;
    }
    return converted;
}

void LoadInternalList(QStringList& entries) {
    entries += BuiltInServerList();
}

QString ListFilePath(const QString& fallbackFolder) {
    return GetAppDataFolder(fallbackFolder) + QStringLiteral("list.txt");
}

QString TempFilePath(const QString& fallbackFolder) {
    return GetAppDataFolder(fallbackFolder) + QStringLiteral("temp.txt");
}

void CreateList(const QStringList& entries, const QString& fallbackFolder) {
    QByteArray block;
    for (const QString& entry : entries) {
        block += CrLf + entry.toLatin1();
    }
    block += CrLf;
    if (AppendToRegularFile(ListFilePath(fallbackFolder), block) != FileStatus::Done) {
        Raise(ErrPathFileAccess);
    }
}

QStringList ReadListFile(const QString& path) {
    return ListEntries(ReadOrRaise(path));
}

QStringList LoadComboFromFile(const QString& currentFile, const QString& fallbackFolder) {
    QStringList entries;
    try {
        entries = ReadListFile(currentFile);
    } catch (const RuntimeError&) {
    }
    if (entries.isEmpty()) {
        LoadInternalList(entries);
        CreateList(entries, fallbackFolder);
    }
    return entries;
}

void ConvertLineFeeds(const QString& source, const QString& target) {
    WriteOrRaise(target, ConvertLineEnds(ReadOrRaise(source)));
}

void RefreshListFile(const QString& fallbackFolder) {
    const QString list = ListFilePath(fallbackFolder);
    const QString temp = TempFilePath(fallbackFolder);
    const QByteArray bytes = ReadOrRaise(list);
    const QByteArray converted = ConvertLineEnds(bytes);
    // A list already in its final form is left alone: a link stays a link, and its file keeps
    // its time.
    if (converted == bytes) {
        return;
    }
    // A temp.txt left by an interrupted start may be read-only, someone else's or no file at
    // all; it is replaced, not written into.
    QFile::remove(temp);
    WriteOrRaise(temp, converted);
    QFile::setPermissions(temp, QFile::permissions(list));
    if (!SyncFileToDisk(temp) || !ReplaceFileAtomically(temp, list)) {
        Raise(ErrPathFileAccess);
    }
}

} // namespace horlan
