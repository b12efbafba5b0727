#pragma once

// An HTTP server on a loopback address for the download tests: answers each path with a
// canned reply, over TLS when given a certificate.

#include "support/FileBytes.h"

#include <QHash>
#include <QProcess>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QUrl>

namespace horlan {

struct CannedReply {
    enum Ending { Close, KeepOpen, Endless }; // Endless: body bytes while the client reads
    QByteArray Head;                          // status line and headers, without the empty line
    QByteArray Body;
    Ending End = Close;
};

class LoopbackHttpServer : public QTcpServer {
public:
    explicit LoopbackHttpServer(QHash<QByteArray, CannedReply> replies)
        : replies_(std::move(replies)) {}

    bool Listen(const QString& ip) { return listen(QHostAddress(ip), 0); }
    // Serves https with a certificate for `ip` that no one trusts, made in `folder`.
    bool ListenWithUntrustedCertificate(const QString& ip, const QString& folder) {
        const QString key = folder + QStringLiteral("/key.pem"), cert = folder + "/cert.pem";
        const bool made =
            QProcess::execute("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt",
                                          "ec_paramgen_curve:prime256v1", "-nodes", "-subj",
                                          "/CN=" + ip, "-addext", "subjectAltName=IP:" + ip,
                                          "-keyout", key, "-out", cert}) == 0;
        tls_.setPrivateKey(QSslKey(ReadFileBytes(key), QSsl::Ec));
        tls_.setLocalCertificateChain(QSslCertificate::fromPath(cert));
        return made && Listen(ip);
    }
    QUrl Url(const char* path) const {
        const QString host = serverAddress().toString() + u':' + QString::number(serverPort());
        return QUrl((tls_.isNull() ? QStringLiteral("http://") : QStringLiteral("https://")) +
                    host + QLatin1String(path));
    }

    int Requests = 0;

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        if (!tls_.isNull()) {
            socket->setSslConfiguration(tls_);
            socket->startServerEncryption();
        }
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (socket->peek(1 << 16).contains("\r\n\r\n")) { // the whole request is in
                Answer(socket, socket->readAll().split(' ').value(1));
            }
        });
    }

private:
    void Answer(QTcpSocket* socket, const QByteArray& path) {
        ++Requests;
        const CannedReply reply = replies_.value(path, {"HTTP/1.1 404 Not Found", {}});
        socket->write(reply.Head + "\r\nConnection: close\r\n\r\n" + reply.Body);
        if (reply.End == CannedReply::Close) {
            socket->disconnectFromHost();
        } else if (reply.End == CannedReply::Endless) {
            const auto topUp = [socket] {
                if (socket->bytesToWrite() < 65536) {
                    socket->write(QByteArray(65536, 'x'));
                }
            };
            connect(socket, &QTcpSocket::bytesWritten, socket, topUp);
            topUp();
        }
    }

    QHash<QByteArray, CannedReply> replies_;
    QSslConfiguration tls_;
};

} // namespace horlan
