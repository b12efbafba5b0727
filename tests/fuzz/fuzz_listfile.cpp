#include "Require.h"
#include "serverlist/ServerListFile.h"

#include <QFile>
#include <QTemporaryDir>

// The list file's line rule, and the conversion that rewrites every line end as CR LF: the
// converted file holds the same lines, a lone LF inside one splitting it, and no bare CR or LF.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir scratch;
    const QByteArray bytes = Bytes(data, size);
    QList<QByteArray> expected;
    for (const QByteArray& line : horlan::SplitListLines(bytes)) {
        Require(!line.contains('\r'));
        expected += line.split('\n');
    }
    QFile in(scratch.filePath(QStringLiteral("in.txt")));
    QFile out(scratch.filePath(QStringLiteral("out.txt")));
    Require(in.open(QIODevice::WriteOnly | QIODevice::Truncate) && in.write(bytes) == bytes.size());
    in.close();
    horlan::ConvertLineFeeds(in.fileName(), out.fileName());
    Require(out.open(QIODevice::ReadOnly));
    const QByteArray converted = out.readAll();
    for (qsizetype i = 0; i < converted.size(); ++i) {
        const char next = i + 1 < converted.size() ? converted[i + 1] : 0;
        Require((converted[i] != '\r' || next == '\n') && (next != '\n' || converted[i] == '\r'));
    }
    Require(!converted.startsWith('\n') && horlan::SplitListLines(converted) == expected);
    return 0;
}
