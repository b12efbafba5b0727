#include "timesync/ServerEntry.h"

#include "timesync/InstrCount.h"

#include <QHostAddress>

#include <algorithm>
#include <cctype>

namespace horlan {

namespace {

bool IsLabelCharacter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-';
}

// Letters, digits and hyphens in labels of 1 to 63 characters that neither start nor end with
// a hyphen, 253 characters at most. A name whose last label is a number could only be an
// IPv4 address, and is not a name.
bool IsHostName(const QString& host) {
    if (host.isEmpty() || host.size() > 253) {
        return false;
    }
    const QStringList labels = host.split(u'.');
    for (const QString& label : labels) {
        if (label.isEmpty() || label.size() > 63 || label.front() == u'-' ||
            label.back() == u'-' || !std::all_of(label.cbegin(), label.cend(), IsLabelCharacter)) {
            return false;
        }
    }
    const QString& last = labels.back();
    return !std::all_of(last.cbegin(), last.cend(), [](QChar c) { return c.isDigit(); });
}

bool IsIPv4(const QString& host) {
    // Four decimal parts only: QHostAddress would also take "1", "1.2" or hexadecimal forms.
    const QStringList parts = host.split(u'.');
    if (parts.size() != 4) {
        return false;
    }
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3 ||
            !std::all_of(part.cbegin(), part.cend(), [](QChar c) { return c.isDigit(); }) ||
            part.toInt() > 255 || (part.size() > 1 && part.front() == u'0')) {
            return false;
        }
    }
    return true;
}

std::optional<ServerEntry> ParseUrl(ServerEntry::Protocol kind, QString rest, int port) {
    if (rest.endsWith(u'/')) {
        rest.chop(1);
    }
    QString host;
    if (rest.startsWith(u'[')) {
        const qsizetype close = rest.indexOf(u']');
        if (close < 0) {
            return std::nullopt;
        }
        host = rest.mid(1, close - 1);
        const QHostAddress address(host);
        const auto addressCharacter = [](QChar c) {
            return std::isxdigit(c.toLatin1()) != 0 || c == u':' || c == u'.';
        };
        if (!std::all_of(host.cbegin(), host.cend(), addressCharacter) ||
            address.protocol() != QAbstractSocket::IPv6Protocol) {
            return std::nullopt;
        }
        rest = rest.mid(close + 1);
    } else {
        const qsizetype colon = rest.indexOf(u':');
        host = colon < 0 ? rest : rest.left(colon);
        if (!IsIPv4(host) && !IsHostName(host)) {
            return std::nullopt;
        }
        rest = colon < 0 ? QString() : rest.mid(colon);
    }
    if (!rest.isEmpty()) {
        const QString digits = rest.mid(1);
        if (rest.front() != u':' || digits.isEmpty() || digits.size() > 5 ||
            !std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c.isDigit(); })) {
            return std::nullopt;
        }
        port = digits.toInt();
        if (port < 1 || port > 65535) {
            return std::nullopt;
        }
    }
    return ServerEntry{kind, host, port};
}

} // namespace

std::optional<ServerEntry> ParseServerEntry(const QString& entry) {
    const QString trimmed = TrimSpaces(entry);
    const qsizetype scheme = trimmed.indexOf(QLatin1String("://"));
    if (scheme < 0) {
        const int dots = InstrCount(trimmed, QStringLiteral("."));
        if (dots < 2 || dots > 3) {
            return std::nullopt;
        }
        return ServerEntry{ServerEntry::Protocol::Time, trimmed, 37};
    }
    const QString name = trimmed.left(scheme).toLower();
    const QString rest = trimmed.mid(scheme + 3);
    if (name == QLatin1String("ntp")) {
        return ParseUrl(ServerEntry::Protocol::Ntp, rest, NtpPort);
    }
    if (name == QLatin1String("nts")) {
        return ParseUrl(ServerEntry::Protocol::Nts, rest, NtsKePort);
    }
    return std::nullopt;
}

} // namespace horlan
