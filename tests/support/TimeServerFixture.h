#pragma once

// A loopback Time Protocol server on the test's thread: connections get Script's replies in
// arrival order, the last answering every later one; without a script they are held open.

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace horlan {

struct TimeServerReply {
    enum class Ending { Close, Hold, Stream, Reset };
    QList<QByteArray> Pieces; // each sent after PauseMs
    int PauseMs = 0;
    Ending Then = Ending::Close;
};

struct TimeServerFixture {
    // On `address` (a 127.0.0.x of the test's own) and `port` (0: any free one).
    explicit TimeServerFixture(const QString& address, quint16 port = 37) {
        QObject::connect(&Server, &QTcpServer::newConnection, &Server, [this] {
            while (QTcpSocket* socket = Server.nextPendingConnection()) {
                ++Open;
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    --Open;
                    socket->deleteLater();
                });
                const qsizetype index = std::min<qsizetype>(Accepted++, Script.size() - 1);
                Serve(socket, Script.value(index, {{}, 0, TimeServerReply::Ending::Hold}), 0);
            }
        });
        Server.listen(QHostAddress(address), port);
    }

    void Serve(QTcpSocket* socket, const TimeServerReply& reply, qsizetype piece) {
        using enum TimeServerReply::Ending;
        if (piece < reply.Pieces.size()) {
            QTimer::singleShot(reply.PauseMs, socket, [this, socket, reply, piece] {
                socket->write(reply.Pieces.at(piece));
                Serve(socket, reply, piece + 1);
            });
        } else if (reply.Then == Close) {
            socket->disconnectFromHost();
        } else if (reply.Then == Reset) {
            const linger abrupt{1, 0};
            ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                         &abrupt, sizeof abrupt);
            socket->abort();
        } else if (reply.Then == Stream) {
            const auto more = [this, socket] {
                Streamed +=
                    socket->bytesToWrite() < 1 << 18 ? socket->write(QByteArray(1 << 18, 'Z')) : 0;
            };
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
            more();
        }
    }

    QList<TimeServerReply> Script;
    int Accepted = 0;
    int Open = 0;        // connections the client has not yet left
    qint64 Streamed = 0; // bytes handed to the network by Stream endings
    QTcpServer Server;
};

} // namespace horlan
