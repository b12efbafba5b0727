#pragma once

// An HTTP server on a loopback address for the download tests: answers each path with a
// canned reply.

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
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
    QUrl Url(const char* path) const {
        return QUrl(QStringLiteral("http://%1:%2%3")
                        .arg(serverAddress().toString())
                        .arg(serverPort())
                        .arg(QLatin1String(path)));
    }

    int Requests = 0;

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { OnRequest(socket); });
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
    QHash<QTcpSocket*, QByteArray> pending_;
};

} // namespace horlan
