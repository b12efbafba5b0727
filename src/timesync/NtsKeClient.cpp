#include "timesync/NtsKeClient.h"

#include "timesync/NtsKeSocket.h"
#include "timesync/SocketErrors.h"

#include <QHostAddress>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace horlan {

// Shared by the client and its worker thread, which may outlive the client.
struct NtsKeClient::Job {
    std::string Host;
    quint16 Port = 0;
    std::chrono::milliseconds Timeout{};
    std::mutex Mutex;
    NtsKeClient* Owner = nullptr; // null once abandoned
    int Socket = -1;              // while the worker has one open
    std::optional<NtsKeys> Keys;  // the outcome: the keys, else Failure
    NtsKeFailure Failure;
};

namespace {

using Kind = NtsKeFailure::Kind;
using Parser = NtsKeReplyParser;

// OpenSSL frees its state when the program ends (atexit). A worker abandoned just before
// would still be inside it: the end waits for the workers inside, and no worker enters after.
// Their sockets are shut down, so they only compute; the wait is bounded all the same.
class OpenSslUse {
public:
    OpenSslUse() {
        std::lock_guard lock(Gate().Mutex);
        entered_ = !Gate().Closed;
        Gate().Inside += entered_ ? 1 : 0;
    }
    ~OpenSslUse() {
        if (entered_) {
            OPENSSL_thread_stop();
            std::lock_guard lock(Gate().Mutex);
            --Gate().Inside;
            Gate().Left.notify_all();
        }
    }
    bool Entered() const { return entered_; }

private:
    struct State {
        std::mutex Mutex;
        std::condition_variable Left;
        int Inside = 0;
        bool Closed = false;
    };
    // Never destroyed. Initialising OpenSSL first puts its clean-up before ours in the atexit
    // list, so ours runs first.
    static State& Gate() {
        static State* const state = [] {
            OPENSSL_init_ssl(0, nullptr);
            std::atexit([] {
                std::unique_lock lock(Gate().Mutex);
                Gate().Closed = true;
                Gate().Left.wait_for(lock, std::chrono::seconds(10),
                                     [] { return Gate().Inside == 0; });
            });
            return new State;
        }();
        return *state;
    }

    bool entered_ = false;
};

QString OpenSslReason() {
    const char* reason = ERR_reason_error_string(ERR_peek_last_error());
    return reason != nullptr ? QString::fromLatin1(reason) : QString();
}

// Why an SSL call failed: the certificate, the socket, or a server that does not speak TLS 1.3
// with ntske/1 (during the handshake) or broke off (after it).
NtsKeFailure TlsFailure(SSL* ssl, int result) {
    const auto [number, description] = LastSocketError();
    const int error = SSL_get_error(ssl, result);
    const long verified = SSL_get_verify_result(ssl);
    const bool handshake = SSL_is_init_finished(ssl) == 0;
    if (handshake && verified != X509_V_OK) {
        return {Kind::Certificate, int(verified),
                QString::fromLatin1(X509_verify_cert_error_string(verified))};
    }
    if (number != 0 && error != SSL_ERROR_SSL) {
        return {Kind::Socket, number, description};
    }
    const QString reason = OpenSslReason();
    if (handshake) {
        return {Kind::NoNts, 0,
                reason.isEmpty() ? QStringLiteral("connection closed during the TLS handshake")
                                 : reason};
    }
    return {Kind::Socket, WSAECONNRESET, reason.isEmpty() ? ErrnoDescription(ECONNRESET) : reason};
}

NtsKeFailure ReplyFailure(const Parser& parser) {
    const int code = parser.Code();
    switch (parser.Failure()) {
    case Parser::Problem::ServerError: {
        static const char* const names[] = {"Unrecognized Critical Record", "Bad Request",
                                            "Internal Server Error"};
        return {Kind::ServerError, code,
                code < 3 ? QString::fromLatin1(names[code]) : QStringLiteral("error %1").arg(code)};
    }
    case Parser::Problem::ServerWarning:
        return {Kind::ServerWarning, code, QStringLiteral("warning %1").arg(code)};
    case Parser::Problem::NoNtpV4:
        return {Kind::NoNts, 0, QStringLiteral("NTPv4 not offered")};
    case Parser::Problem::NoAesSiv:
        return {Kind::NoNts, 0, QStringLiteral("AEAD_AES_SIV_CMAC_256 not offered")};
    case Parser::Problem::UnknownCritical:
        return {Kind::BadReply, code, QStringLiteral("unknown critical record %1").arg(code)};
    case Parser::Problem::TooLong:
        return {Kind::BadReply, 0, QStringLiteral("reply too long")};
    case Parser::Problem::MissingEnd:
        return {Kind::BadReply, 0, QStringLiteral("reply without End of Message")};
    case Parser::Problem::NoCookies:
        return {Kind::BadReply, 0, QStringLiteral("reply without cookies")};
    default:
        return {Kind::BadReply, 0, QStringLiteral("malformed reply")};
    }
}

// A key from the TLS exporter (RFC 8915 section 5.1): the context is the protocol, the AEAD
// algorithm and the direction (0 client to server, 1 server to client).
QByteArray ExportKey(SSL* ssl, unsigned char direction) {
    static constexpr char label[] = "EXPORTER-network-time-security";
    const unsigned char context[5] = {NtsProtocolNtpV4 >> 8, NtsProtocolNtpV4 & 0xFF,
                                      NtsAeadAesSivCmac256 >> 8, NtsAeadAesSivCmac256 & 0xFF,
                                      direction};
    QByteArray key(NtsKeyBytes, Qt::Uninitialized);
    if (SSL_export_keying_material(ssl, reinterpret_cast<unsigned char*>(key.data()),
                                   std::size_t(key.size()), label, sizeof label - 1, context,
                                   sizeof context, 1) != 1) {
        return {};
    }
    return key;
}

// The TLS session over a connected socket: handshake, request, reply, keys.
std::optional<NtsKeys> Establish(int socket, const std::string& host, NtsKeFailure& failure) {
    ERR_clear_error();
    const std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(
        SSL_CTX_new(TLS_client_method()), SSL_CTX_free);
    if (context) {
        SSL_CTX_set_min_proto_version(context.get(), TLS1_3_VERSION);
        SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
        // An end without close_notify reads as the end of the reply; End of Message tells
        // whether it was complete.
        SSL_CTX_set_options(context.get(), SSL_OP_IGNORE_UNEXPECTED_EOF);
    }
    const std::unique_ptr<SSL, decltype(&SSL_free)> owned(
        context && SSL_CTX_set_default_verify_paths(context.get()) == 1 ? SSL_new(context.get())
                                                                        : nullptr,
        SSL_free);
    SSL* ssl = owned.get();
    static constexpr unsigned char alpn[] = "\x07ntske/1";
    const bool address = !QHostAddress(QString::fromStdString(host)).isNull();
    if (ssl == nullptr || SSL_set_alpn_protos(ssl, alpn, sizeof alpn - 1) != 0 ||
        !(address ? X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host.c_str()) == 1
                  : SSL_set_tlsext_host_name(ssl, host.c_str()) == 1 &&
                        SSL_set1_host(ssl, host.c_str()) == 1) ||
        SSL_set_fd(ssl, socket) != 1) {
        failure = {Kind::Socket, WSASYSCALLFAILURE, OpenSslReason()};
        return std::nullopt;
    }
    errno = 0;
    int result = SSL_connect(ssl);
    const unsigned char* chosen = nullptr;
    unsigned int chosenLength = 0;
    SSL_get0_alpn_selected(ssl, &chosen, &chosenLength);
    if (result == 1 && QByteArrayView(chosen, chosenLength) != "ntske/1") {
        failure = {Kind::NoNts, 0, QStringLiteral("no ALPN ntske/1")};
        return std::nullopt;
    }
    const QByteArray request = NtsKeRequest();
    if (result != 1 || (result = SSL_write(ssl, request.data(), int(request.size()))) <= 0) {
        failure = TlsFailure(ssl, result);
        return std::nullopt;
    }
    Parser parser;
    char buffer[4096];
    while (parser.State() == Parser::Status::NeedMore) {
        errno = 0;
        result = SSL_read(ssl, buffer, sizeof buffer);
        if (result > 0) {
            parser.Feed(QByteArrayView(buffer, result));
        } else if (SSL_get_error(ssl, result) == SSL_ERROR_ZERO_RETURN) {
            parser.Close();
        } else {
            failure = TlsFailure(ssl, result);
            return std::nullopt;
        }
    }
    if (parser.State() == Parser::Status::Failed) {
        failure = ReplyFailure(parser);
        return std::nullopt;
    }
    const NtsKeReply& reply = parser.Reply();
    NtsKeys keys{ExportKey(ssl, 0), ExportKey(ssl, 1), reply.Cookies,
                 reply.Server.isEmpty() ? QString::fromStdString(host) : reply.Server,
                 reply.Port != 0 ? reply.Port : quint16(NtpPort)};
    if (keys.C2S.isEmpty() || keys.S2C.isEmpty()) {
        failure = {Kind::BadReply, 0, OpenSslReason()};
        return std::nullopt;
    }
    SSL_shutdown(ssl);
    return keys;
}

} // namespace

NtsKeClient::NtsKeClient(QObject* parent) : QObject(parent) {}

NtsKeClient::~NtsKeClient() {
    Abandon();
}

void NtsKeClient::Start(const QString& host, quint16 port) {
    Abandon();
    auto job = std::make_shared<Job>();
    job->Host = host.toStdString();
    job->Port = port;
    job->Timeout = stepTimeout_;
    job->Owner = this;
    job_ = job;
    try {
        std::thread([job] { Run(job); }).detach();
    } catch (const std::system_error& error) {
        // No thread (out of threads or memory): the failure arrives like any other.
        const int code = error.code().value();
        job->Failure = {Kind::Socket, WinsockNumberFromErrno(code), ErrnoDescription(code)};
        QMetaObject::invokeMethod(
            this, [this, job] { Finish(job); }, Qt::QueuedConnection);
    }
}

void NtsKeClient::Abandon() {
    if (!job_) {
        return;
    }
    {
        std::lock_guard lock(job_->Mutex);
        job_->Owner = nullptr;
        if (job_->Socket >= 0) {
            ShutdownKeSocket(job_->Socket);
        }
    }
    job_.reset();
}

void NtsKeClient::Run(const std::shared_ptr<Job>& job) {
    const auto publish = [&job](int socket) {
        std::lock_guard lock(job->Mutex);
        job->Socket = job->Owner != nullptr ? socket : -1;
        return job->Owner != nullptr;
    };
    std::optional<NtsKeys> keys;
    NtsKeFailure failure;
    const KeSocket connection = ConnectKeSocket(job->Host, job->Port, job->Timeout, publish);
    if (connection.Socket < 0) {
        failure = {Kind::Socket, connection.Number, connection.Description};
    } else {
        const OpenSslUse use;
        failure = {Kind::Socket, WSAECONNABORTED, ErrnoDescription(ECONNABORTED)};
        keys = use.Entered() ? Establish(connection.Socket, job->Host, failure) : std::nullopt;
        publish(-1);
        CloseKeSocket(connection.Socket);
    }
    std::lock_guard lock(job->Mutex);
    if (NtsKeClient* owner = job->Owner) {
        job->Keys = std::move(keys);
        job->Failure = failure;
        QMetaObject::invokeMethod(
            owner, [owner, job] { owner->Finish(job); }, Qt::QueuedConnection);
    }
}

void NtsKeClient::Finish(const std::shared_ptr<Job>& job) {
    if (job != job_) {
        return;
    }
    job_.reset();
    if (job->Keys) {
        emit Established(*job->Keys);
    } else {
        emit Failed(job->Failure);
    }
}

} // namespace horlan
