#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace horlan {

// The Network Time Security key establishment messages (RFC 8915 section 4): records of a
// critical bit, a 15-bit type and a 16-bit body length, ending with End of Message.
enum NtsKeRecordType : quint16 {
    NtsKeEndOfMessage = 0,
    NtsKeNextProtocol = 1,
    NtsKeError = 2,
    NtsKeWarning = 3,
    NtsKeAeadAlgorithm = 4,
    NtsKeNewCookie = 5,
    NtsKeNtpServer = 6,
    NtsKeNtpPort = 7,
};

constexpr quint16 NtsProtocolNtpV4 = 0;
constexpr quint16 NtsAeadAesSivCmac256 = 15;
constexpr qsizetype NtsKeyBytes = 32;                 // each of the C2S and S2C keys
constexpr qsizetype NtsKeMaxMessageBytes = 64 * 1024; // the whole reply
constexpr qsizetype NtsKeMaxBodyBytes = 1024;         // one record's body
constexpr qsizetype NtsKeMaxCookies = 8;              // kept from one reply; more are ignored

// The client's request: NTPv4 as the next protocol, AEAD_AES_SIV_CMAC_256, End of Message.
QByteArray NtsKeRequest();

// What a complete reply agreed. Server is empty and Port 0 when the reply did not name them:
// then the NTP server is the key establishment host, on port 123.
struct NtsKeReply {
    QList<QByteArray> Cookies;
    QString Server;
    quint16 Port = 0;
};

// Reads the server's reply as its bytes arrive, record by record, keeping only the part of
// a record not yet complete.
class NtsKeReplyParser {
public:
    enum class Status { NeedMore, Done, Failed };
    enum class Problem {
        None,
        Malformed,       // a record's length or body is wrong, or a record repeats
        TooLong,         // a body over NtsKeMaxBodyBytes or a reply over NtsKeMaxMessageBytes
        UnknownCritical, // Code() is the record type
        MissingEnd,      // the stream ended before End of Message
        ServerError,     // the server's Error record; Code() is its code
        ServerWarning,   // the server's Warning record; Code() is its code (none is known)
        NoNtpV4,         // the server does not agree to NTPv4
        NoAesSiv,        // the server does not agree to AEAD_AES_SIV_CMAC_256
        NoCookies,       // the reply holds no cookie
    };

    // Takes the next bytes of the stream. Once Failed, the status no longer changes; bytes
    // after End of Message make it Failed.
    Status Feed(QByteArrayView bytes);
    // The stream has ended: Failed with MissingEnd unless the reply was complete.
    Status Close();

    Status State() const { return status_; }
    Problem Failure() const { return problem_; }
    quint16 Code() const { return code_; }
    // Complete when State() is Done.
    const NtsKeReply& Reply() const { return reply_; }

private:
    Status Fail(Problem problem, quint16 code = 0);
    Status Record(bool critical, quint16 type, QByteArrayView body);
    Status Finish();

    Status status_ = Status::NeedMore;
    Problem problem_ = Problem::None;
    quint16 code_ = 0;
    QByteArray pending_;
    qsizetype total_ = 0;
    int protocolRecords_ = 0;
    int aeadRecords_ = 0;
    bool ntpV4_ = false;
    bool aesSiv_ = false;
    NtsKeReply reply_;
};

} // namespace horlan
