#include "support/TimeServerFixture.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace horlan {

namespace {

// What a streaming connection keeps queued; topped up as the client reads.
constexpr qint64 StreamQueue = 256 * 1024;

int BoundSocket(const QString& address, quint16 port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(port);
    if (inet_pton(AF_INET, address.toLatin1().constData(), &sin.sin_addr) != 1 ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&sin), sizeof(sin)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

TimeServerReply TimeServerReply::Send(const QByteArray& bytes) {
    return {{{bytes, std::chrono::milliseconds(0)}}, Ending::Close};
}

TimeServerReply TimeServerReply::SendPieces(const QList<QByteArray>& pieces,
                                            std::chrono::milliseconds pause) {
    TimeServerReply reply;
    for (const QByteArray& piece : pieces) {
        reply.Pieces.append({piece, pause});
    }
    return reply;
}

TimeServerReply TimeServerReply::CloseAtOnce() {
    return {{}, Ending::Close};
}

TimeServerReply TimeServerReply::Hold() {
    return {{}, Ending::Hold};
}

TimeServerReply TimeServerReply::Stream() {
    return {{}, Ending::Stream};
}

TimeServerReply TimeServerReply::Reset() {
    return {{}, Ending::Reset};
}

TimeServerFixture::TimeServerFixture(const QString& address, quint16 port)
    : address_(address), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &TimeServerFixture::OnNewConnection);
    server_->listen(address_, port);
}

TimeServerFixture::~TimeServerFixture() {
    // Connections still open end with the fixture; none of their signals reach it any more.
    for (QTcpSocket* socket : findChildren<QTcpSocket*>()) {
        socket->disconnect(this);
        socket->abort();
    }
}

bool TimeServerFixture::IsListening() const {
    return server_->isListening();
}

QString TimeServerFixture::ErrorString() const {
    return server_->errorString();
}

quint16 TimeServerFixture::Port() const {
    return server_->serverPort();
}

void TimeServerFixture::OnNewConnection() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        const int index = accepted_++;
        ++open_;
        auto gone = std::make_shared<bool>(false);
        auto leave = [this, socket, index, gone] {
            if (*gone) {
                return;
            }
            *gone = true;
            --open_;
            socket->deleteLater();
            emit ConnectionGone(index);
        };
        connect(socket, &QTcpSocket::disconnected, this, leave);
        connect(socket, &QTcpSocket::errorOccurred, this, leave);
        // What the client sends is of no interest; reading it lets its close be seen.
        connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
        emit ConnectionAccepted(index);

        const TimeServerReply reply =
            replies_.isEmpty() ? TimeServerReply::Hold()
                               : replies_.at(std::min<qsizetype>(index, replies_.size() - 1));
        SendPiece(socket, index, reply, 0);
    }
}

void TimeServerFixture::SendPiece(QTcpSocket* socket, int index, const TimeServerReply& reply,
                                  qsizetype piece) {
    if (piece == reply.Pieces.size()) {
        Finish(socket, index, reply.Then);
        return;
    }
    const auto send = [this, socket, index, reply, piece] {
        if (socket->state() != QAbstractSocket::ConnectedState) {
            return;
        }
        socket->write(reply.Pieces.at(piece).Bytes);
        socket->flush();
        SendPiece(socket, index, reply, piece + 1);
    };
    const auto pause = reply.Pieces.at(piece).PauseBefore;
    if (pause.count() == 0) {
        send();
    } else {
        QTimer::singleShot(pause, socket, send);
    }
}

void TimeServerFixture::Finish(QTcpSocket* socket, int, TimeServerReply::Ending ending) {
    switch (ending) {
    case TimeServerReply::Ending::Close:
        socket->disconnectFromHost();
        break;
    case TimeServerReply::Ending::Hold:
        break;
    case TimeServerReply::Ending::Stream:
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { TopUp(socket); });
        TopUp(socket);
        break;
    case TimeServerReply::Ending::Reset: {
        const linger hard{1, 0};
        ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard,
                     sizeof(hard));
        socket->abort();
        break;
    }
    }
}

void TimeServerFixture::TopUp(QTcpSocket* socket) {
    if (socket->state() != QAbstractSocket::ConnectedState) {
        return;
    }
    const qint64 missing = StreamQueue - socket->bytesToWrite();
    if (missing > 0) {
        streamed_ += socket->write(QByteArray(missing, '\x5a'));
    }
}

RefusingEndpoint::RefusingEndpoint(const QString& address, quint16 port)
    : fd_(BoundSocket(address, port)) {}

RefusingEndpoint::~RefusingEndpoint() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FullBacklogListener::FullBacklogListener(const QString& address, quint16 port) {
    const int fd = BoundSocket(address, port);
    if (fd < 0 || ::listen(fd, 0) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return;
    }
    listener_ = fd;
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(port);
    inet_pton(AF_INET, address.toLatin1().constData(), &sin.sin_addr);
    // More than the queue can take: the first complete the handshake and wait to be
    // accepted, the rest keep the queue busy.
    for (int i = 0; i < 8; ++i) {
        const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (client < 0) {
            continue;
        }
        ::connect(client, reinterpret_cast<const sockaddr*>(&sin), sizeof(sin));
        fillers_.append(client);
    }
}

FullBacklogListener::~FullBacklogListener() {
    for (const int client : fillers_) {
        ::close(client);
    }
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

} // namespace horlan
