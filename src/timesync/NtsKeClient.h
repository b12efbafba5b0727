#pragma once

#include "timesync/NtsKe.h"
#include "timesync/ServerEntry.h"

#include <QObject>
#include <chrono>
#include <memory>

namespace horlan {

// What a key establishment gave: the AEAD_AES_SIV_CMAC_256 keys for the NTP exchange, the
// cookies to present, and where to ask.
struct NtsKeys {
    QByteArray C2S; // client to server, NtsKeyBytes
    QByteArray S2C; // server to client, NtsKeyBytes
    QList<QByteArray> Cookies;
    QString NtpServer; // the key establishment host unless the server named another
    quint16 NtpPort = horlan::NtpPort;
};

// Why a key establishment failed, in terms a person can act on.
struct NtsKeFailure {
    enum class Kind {
        Socket,        // Number: a Windows Sockets error number (SocketErrors.h)
        Certificate,   // Number: OpenSSL's X509_V_ERR code; Description: OpenSSL's reason
        NoNts,         // no TLS 1.3, no ntske/1, or no NTPv4 with AES-SIV-CMAC-256
        ServerError,   // Number: the code of the server's Error record
        ServerWarning, // Number: the code of the server's Warning record
        BadReply,      // the reply broke the protocol
    };
    Kind What = Kind::BadReply;
    int Number = 0;
    QString Description; // the system's or OpenSSL's text, or what was wrong, in English
};

// The client side of NTS key establishment (RFC 8915 section 4): TCP, TLS 1.3 only with ALPN
// ntske/1, the server's certificate checked against the system's trust store (SSL_CERT_FILE
// and SSL_CERT_DIR honoured) and the host name. Name lookup, handshake and exchange run on a
// worker thread; the outcome arrives as one signal on the thread that owns the client.
class NtsKeClient : public QObject {
    Q_OBJECT

public:
    explicit NtsKeClient(QObject* parent = nullptr);
    ~NtsKeClient() override; // abandons

    // Starts with `host` (a name or an address without brackets) on `port`; returns at once.
    // An exchange under way is abandoned first.
    void Start(const QString& host, quint16 port = NtsKePort);

    // No signal comes for the exchange under way. Its socket is shut down, so the worker ends
    // soon; a name lookup still runs to its end, but touches nothing of the client.
    void Abandon();

    // Time allowed to each step on the worker: the connection, each read and each write.
    void SetStepTimeout(std::chrono::milliseconds timeout) { stepTimeout_ = timeout; }

signals:
    void Established(const horlan::NtsKeys& keys);
    void Failed(const horlan::NtsKeFailure& failure);

private:
    struct Job;
    static void Run(const std::shared_ptr<Job>& job);
    void Finish(const std::shared_ptr<Job>& job);

    std::shared_ptr<Job> job_;
    std::chrono::milliseconds stepTimeout_{15000};
};

} // namespace horlan
