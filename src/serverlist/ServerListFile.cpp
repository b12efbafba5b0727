#include "serverlist/ServerListFile.h"

#include "runtime/RuntimeError.h"
#include "serverlist/ListFileDisk.h"
#include "storage/appdata.h"

#include <QComboBox>
#include <QFile>

namespace horlan {

namespace {

const QByteArray CrLf("\r\n");

// Opens `path` for reading, raising 53 when it does not exist and 75 for any other refusal.
void OpenForReading(QFile& file) {
    if (!file.open(QIODevice::ReadOnly)) {
        Raise(file.exists() ? ErrPathFileAccess : ErrFileNotFound);
    }
}

QByteArray ReadAllOrRaise(QFile& file) {
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Raise(ErrPathFileAccess);
    }
    return bytes;
}

void WriteOrRaise(QFile& file, const QByteArray& bytes) {
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        Raise(ErrPathFileAccess);
    }
}

} // namespace

bool fileexists(const QString& Path) {
    if (Path.isEmpty()) {
        return false;
    }
    QFile file(Path);
    return file.open(QIODevice::ReadOnly);
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

QList<QByteArray> SplitListLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            line.append(bytes[i]);
            continue;
        }
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
        }
        lines.append(line);
        line.clear();
    }
    if (!line.isEmpty()) {
        lines.append(line);
    }
    return lines;
}

bool IsBlankListLine(const QByteArray& line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' '; });
}

void LoadInternalList(QComboBox& Combo1) {
    Combo1.addItems(BuiltInServerList());
    Combo1.setCurrentIndex(0);
}

QString ListFilePath(const QString& fallbackFolder) {
    return GetAppDataFolder(fallbackFolder) + QStringLiteral("list.txt");
}

QString TempFilePath(const QString& fallbackFolder) {
    return GetAppDataFolder(fallbackFolder) + QStringLiteral("temp.txt");
}

void CreateList(QComboBox& Combo1, const QString& fallbackFolder) {
    QByteArray block;
    for (int i = 0; i < Combo1.count(); ++i) {
        block += CrLf + Combo1.itemText(i).toLatin1();
    }
    block += CrLf;
    QFile file(ListFilePath(fallbackFolder));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        Raise(ErrPathFileAccess);
    }
    WriteOrRaise(file, block);
}

void LoadComboFromFile(QComboBox& cCombobox, const QString& sCurrentFile,
                       const QString& fallbackFolder) {
    try {
        cCombobox.clear();
        QFile file(sCurrentFile);
        OpenForReading(file);
        for (const QByteArray& line : SplitListLines(ReadAllOrRaise(file))) {
            if (!IsBlankListLine(line)) {
                cCombobox.addItem(QString::fromLatin1(line));
            }
        }
        if (cCombobox.count() == 0) {
            Raise(ErrInvalidPropertyValue);
        }
        if (cCombobox.currentIndex() == -1) {
            cCombobox.setCurrentIndex(0);
        }
    } catch (const std::exception&) {
        LoadInternalList(cCombobox);
        CreateList(cCombobox, fallbackFolder);
    }
}

void ConvertLineFeeds(const QString& source, const QString& target) {
    QFile in(source);
    OpenForReading(in);
    const QByteArray bytes = ReadAllOrRaise(in);
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Raise(ErrPathFileAccess);
    }
    QByteArray converted;
    converted.reserve(bytes.size() + bytes.size() / 8 + 2);
    for (QByteArray line : SplitListLines(bytes)) {
        converted += line.replace('\n', CrLf) + CrLf;
    }
    WriteOrRaise(out, converted);
}

void RefreshListFile(const QString& fallbackFolder) {
    const QString list = ListFilePath(fallbackFolder);
    const QString temp = TempFilePath(fallbackFolder);
    // A temp.txt left by an interrupted start may be read-only or someone else's; it is
    // replaced, not written into.
    QFile::remove(temp);
    ConvertLineFeeds(list, temp);
    QFile::setPermissions(temp, QFile::permissions(list));
    if (!SyncFileToDisk(temp) || !ReplaceFileAtomically(temp, list)) {
        Raise(ErrPathFileAccess);
    }
}

} // namespace horlan
