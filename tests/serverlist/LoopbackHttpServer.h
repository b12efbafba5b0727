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
        const QString host = serverAddress().toString() + u':' + QString::number(serverPort());
        return QUrl(QStringLiteral("http://") + host + QLatin1String(path));
    }

    int Requests = 0;

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
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
};

} // namespace horlan
