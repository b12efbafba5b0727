#include "timesync/NtsKe.h"

#include <QtEndian>
#include <algorithm>

namespace horlan {

namespace {

constexpr quint16 Critical = 0x8000;

void AppendRecord(QByteArray& out, quint16 typeAndCritical, QByteArrayView body) {
    char header[4];
    qToBigEndian<quint16>(typeAndCritical, header);
    qToBigEndian<quint16>(quint16(body.size()), header + 2);
    out.append(header, 4).append(body);
}

quint16 Word(QByteArrayView bytes, qsizetype at) {
    return qFromBigEndian<quint16>(bytes.data() + at);
}

} // namespace

QByteArray NtsKeRequest() {
    QByteArray request;
    const char ntpV4[2] = {0, NtsProtocolNtpV4};
    const char aesSiv[2] = {0, NtsAeadAesSivCmac256};
    AppendRecord(request, Critical | NtsKeNextProtocol, QByteArrayView(ntpV4, 2));
    AppendRecord(request, Critical | NtsKeAeadAlgorithm, QByteArrayView(aesSiv, 2));
    AppendRecord(request, Critical | NtsKeEndOfMessage, {});
    return request;
}

NtsKeReplyParser::Status NtsKeReplyParser::Fail(Problem problem, quint16 code) {
    problem_ = problem;
    code_ = code;
    pending_.clear();
    return status_ = Status::Failed;
}

NtsKeReplyParser::Status NtsKeReplyParser::Feed(QByteArrayView bytes) {
    if (status_ != Status::NeedMore) {
        return bytes.isEmpty() || status_ == Status::Failed ? status_ : Fail(Problem::Malformed);
    }
    total_ += bytes.size();
    if (total_ > NtsKeMaxMessageBytes) {
        return Fail(Problem::TooLong);
    }
    pending_.append(bytes);
    qsizetype at = 0;
    while (status_ == Status::NeedMore && pending_.size() - at >= 4) {
        const quint16 length = Word(pending_, at + 2);
        if (length > NtsKeMaxBodyBytes) {
            return Fail(Problem::TooLong);
        }
        if (pending_.size() - at - 4 < length) {
            break;
        }
        const quint16 header = Word(pending_, at);
        const QByteArrayView body = QByteArrayView(pending_).sliced(at + 4, length);
        at += 4 + length;
        Record((header & Critical) != 0, header & ~Critical, body);
    }
    if (status_ == Status::Done && at < pending_.size()) {
        return Fail(Problem::Malformed);
    }
    pending_.remove(0, at);
    return status_;
}

NtsKeReplyParser::Status NtsKeReplyParser::Close() {
    return status_ == Status::NeedMore ? Fail(Problem::MissingEnd) : status_;
}

NtsKeReplyParser::Status NtsKeReplyParser::Record(bool critical, quint16 type,
                                                  QByteArrayView body) {
    const bool oneWord = body.size() == 2;
    switch (type) {
    case NtsKeEndOfMessage:
        return body.isEmpty() ? Finish() : Fail(Problem::Malformed);
    case NtsKeError:
        return oneWord ? Fail(Problem::ServerError, Word(body, 0)) : Fail(Problem::Malformed);
    case NtsKeWarning:
        return oneWord ? Fail(Problem::ServerWarning, Word(body, 0)) : Fail(Problem::Malformed);
    case NtsKeNextProtocol:
    case NtsKeAeadAlgorithm: {
        // The server answers with the one choice it made from what the request offered.
        int& records = type == NtsKeNextProtocol ? protocolRecords_ : aeadRecords_;
        if (++records > 1 || body.size() % 2 != 0) {
            return Fail(Problem::Malformed);
        }
        const quint16 wanted = type == NtsKeNextProtocol ? NtsProtocolNtpV4 : NtsAeadAesSivCmac256;
        (type == NtsKeNextProtocol ? ntpV4_ : aesSiv_) = oneWord && Word(body, 0) == wanted;
        return status_;
    }
    case NtsKeNewCookie:
        if (body.isEmpty()) {
            return Fail(Problem::Malformed);
        }
        if (reply_.Cookies.size() < NtsKeMaxCookies) {
            reply_.Cookies.append(body.toByteArray());
        }
        return status_;
    case NtsKeNtpServer:
        if (!reply_.Server.isEmpty() || body.isEmpty() || body.size() > 255 ||
            std::any_of(body.begin(), body.end(), [](char c) { return c <= ' ' || c > '~'; })) {
            return Fail(Problem::Malformed);
        }
        reply_.Server = QString::fromLatin1(body);
        return status_;
    case NtsKeNtpPort:
        if (reply_.Port != 0 || !oneWord || Word(body, 0) == 0) {
            return Fail(Problem::Malformed);
        }
        reply_.Port = Word(body, 0);
        return status_;
    default:
        return critical ? Fail(Problem::UnknownCritical, type) : status_;
    }
}

NtsKeReplyParser::Status NtsKeReplyParser::Finish() {
    if (protocolRecords_ != 1) {
        return Fail(Problem::Malformed);
    }
    if (!ntpV4_) {
        return Fail(Problem::NoNtpV4);
    }
    if (!aesSiv_) {
        return Fail(Problem::NoAesSiv);
    }
    if (reply_.Cookies.isEmpty()) {
        return Fail(Problem::NoCookies);
    }
    return status_ = Status::Done;
}

} // namespace horlan
