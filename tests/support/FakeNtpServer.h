#pragma once

// A loopback NTP server on the test's thread that answers every request as told, with the
// system's time plus `Ahead`.

#include <QDateTime>
#include <QNetworkDatagram>
#include <QSet>
#include <QUdpSocket>
#include <QtEndian>
#include <chrono>

namespace horlan {

struct FakeNtpServer {
    enum class Answer { Right, WrongOriginFirst, Kiss, Leap3, Short, Stratum16, Silent };

    FakeNtpServer(const QString& address, Answer answer, std::chrono::milliseconds ahead)
        : How(answer), Ahead(ahead) {
        Socket.bind(QHostAddress(address), 123);
        QObject::connect(&Socket, &QUdpSocket::readyRead, &Socket, [this] {
            while (Socket.hasPendingDatagrams()) {
                const QNetworkDatagram request = Socket.receiveDatagram();
                Origins << request.data().mid(40, 8);
                Reply(request);
            }
        });
    }

    void Reply(const QNetworkDatagram& request) {
        QByteArray reply = Packet(request.data().mid(40, 8), Ahead);
        switch (How) {
        case Answer::Silent:
            return;
        case Answer::WrongOriginFirst: // an hour off, from someone who guessed wrong
            Socket.writeDatagram(Packet("guessed!", Ahead + std::chrono::hours(1)),
                                 request.senderAddress(), request.senderPort());
            break;
        case Answer::Kiss:
            reply[1] = 0;
            reply.replace(12, 4, "RATE");
            break;
        case Answer::Leap3:
            reply[0] = char(0xE4);
            break;
        case Answer::Short:
            reply.chop(1);
            break;
        case Answer::Stratum16:
            reply[1] = 16;
            break;
        case Answer::Right:
            break;
        }
        Socket.writeDatagram(reply, request.senderAddress(), request.senderPort());
    }

    static QByteArray Packet(const QByteArray& origin, std::chrono::milliseconds ahead) {
        const qint64 ms = QDateTime::currentMSecsSinceEpoch() + ahead.count();
        const quint64 stamp = (quint64(ms / 1000 + 2208988800) << 32) | (quint64(ms % 1000) << 32) / 1000;
        QByteArray packet(48, '\0');
        packet[0] = 0x24; // version 4, server
        packet[1] = 2;
        packet.replace(24, 8, origin);
        qToBigEndian(stamp, packet.data() + 32);
        qToBigEndian(stamp, packet.data() + 40);
        return packet;
    }

    Answer How;
    std::chrono::milliseconds Ahead;
    QSet<QByteArray> Origins; // the transmit timestamps of the requests
    QUdpSocket Socket;
};

} // namespace horlan
