#pragma once

// A small HTTP server on a loopback address for the download tests: answers each path with a
// canned reply, optionally over TLS with a certificate made for the test.

#include <QHash>
#include <QHostAddress>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>
#include <optional>

namespace horlan {

struct CannedReply {
    enum Ending {
        Close,    // close the connection after the body
        KeepOpen, // send the body, then nothing more, and keep the connection
        Endless,  // keep sending body bytes for as long as the client reads
    };
    QByteArray Head; // status line and headers, without the empty line
    QByteArray Body;
    Ending End = Close;
};

struct TlsIdentity {
    QSslCertificate Certificate;
    QSslKey Key;

    // A self-signed certificate for `ip`, made with the openssl tool; nothing when the tool or
    // the TLS backend is missing.
    static std::optional<TlsIdentity> SelfSigned(const QString& ip) {
        QTemporaryDir dir;
        if (!dir.isValid() || !QSslSocket::supportsSsl()) {
            return std::nullopt;
        }
        const QString key = dir.filePath(QStringLiteral("key.pem"));
        const QString cert = dir.filePath(QStringLiteral("cert.pem"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                       QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                       QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert,
                       QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=") + ip, QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=IP:") + ip});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) {
            return std::nullopt;
        }
        QFile keyFile(key);
        QFile certFile(cert);
        if (!keyFile.open(QIODevice::ReadOnly) || !certFile.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        TlsIdentity identity{QSslCertificate(certFile.readAll()),
                             QSslKey(keyFile.readAll(), QSsl::Ec)};
        if (identity.Certificate.isNull() || identity.Key.isNull()) {
            return std::nullopt;
        }
        return identity;
    }
};

class LoopbackHttpServer : public QTcpServer {
public:
    explicit LoopbackHttpServer(QHash<QByteArray, CannedReply> replies,
                                std::optional<TlsIdentity> tls = std::nullopt)
        : replies_(std::move(replies)), tls_(std::move(tls)) {}

    bool Listen(const QString& ip) {
        ip_ = ip;
        return listen(QHostAddress(ip), 0);
    }

    QUrl Url(const QString& path) const {
        return QUrl(QStringLiteral("%1://%2:%3%4")
                        .arg(tls_ ? QStringLiteral("https") : QStringLiteral("http"), ip_)
                        .arg(serverPort())
                        .arg(path));
    }

    int Requests = 0;

protected:
    void incomingConnection(qintptr descriptor) override {
        QTcpSocket* socket = tls_ ? new QSslSocket(this) : new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { OnRequest(socket); });
        if (tls_) {
            auto* ssl = static_cast<QSslSocket*>(socket);
            ssl->setLocalCertificate(tls_->Certificate);
            ssl->setPrivateKey(tls_->Key);
            ssl->startServerEncryption();
        }
    }

private:
    void OnRequest(QTcpSocket* socket) {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n")) {
            return;
        }
        const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
        pending_.remove(socket);
        ++Requests;
        const CannedReply reply = replies_.value(
            path,
            CannedReply{"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close", {}});
        socket->write(reply.Head + "\r\n\r\n" + reply.Body);
        switch (reply.End) {
        case CannedReply::Close:
            socket->disconnectFromHost();
            break;
        case CannedReply::KeepOpen:
            break;
        case CannedReply::Endless:
            connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
                if (socket->state() == QAbstractSocket::ConnectedState &&
                    socket->bytesToWrite() < 65536) {
                    socket->write(QByteArray(65536, 'x'));
                }
            });
            socket->write(QByteArray(65536, 'x'));
            break;
        }
    }

    QHash<QByteArray, CannedReply> replies_;
    std::optional<TlsIdentity> tls_;
    QString ip_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

} // namespace horlan
