#pragma once

// A loopback Time Protocol server for tests: it answers each connection with scripted pieces
// of bytes, then an ending. It runs on the test's own thread, so waiting with QTest::qWaitFor
// keeps it going.

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace horlan {

struct TimeServerReply {
    enum class Ending { Close, Hold, Stream };
    QList<QByteArray> Pieces;
    int PauseMs = 0; // before each piece
    Ending Then = Ending::Close;
};

struct TimeServerFixture {
    // Listens on `address` (a 127.0.0.x of the test's own) and `port` (0: any free one).
    // Connections are answered by Script in arrival order, the last reply answering every later
    // one; without a script they are held open.
    explicit TimeServerFixture(const QString& address, quint16 port = 37) {
        QObject::connect(&Server, &QTcpServer::newConnection, &Server, [this] {
            while (QTcpSocket* socket = Server.nextPendingConnection()) {
                ++Open;
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    --Open;
                    socket->deleteLater();
                });
                // Reading what the client sends lets its close be seen.
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [socket] { socket->readAll(); });
                Serve(socket,
                      Script.value(std::min<qsizetype>(Accepted++, Script.size() - 1),
                                   {{}, 0, TimeServerReply::Ending::Hold}),
                      0);
            }
        });
        Server.listen(QHostAddress(address), port);
    }

    void Serve(QTcpSocket* socket, const TimeServerReply& reply, qsizetype piece) {
        if (piece < reply.Pieces.size()) {
            QTimer::singleShot(reply.PauseMs, socket, [this, socket, reply, piece] {
                socket->write(reply.Pieces.at(piece));
                Serve(socket, reply, piece + 1);
            });
        } else if (reply.Then == TimeServerReply::Ending::Close) {
            socket->disconnectFromHost();
        } else if (reply.Then == TimeServerReply::Ending::Stream) {
            const auto topUp = [this, socket] {
                Streamed += socket->bytesToWrite() < (1 << 18)
                                ? socket->write(QByteArray(1 << 18, 'Z'))
                                : 0;
            };
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, topUp);
            topUp();
        }
    }

    QList<TimeServerReply> Script;
    int Accepted = 0;
    int Open = 0;        // connections the client has not yet left
    qint64 Streamed = 0; // bytes handed to the network by Stream endings
    QTcpServer Server;
};

} // namespace horlan
