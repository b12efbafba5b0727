#pragma once

// Loopback Time Protocol servers for tests: scripted answers per connection, an endpoint
// that refuses, and one whose connection queue is full. They run on the test's own thread,
// so a test that waits with QSignalSpy::wait or QTRY_* keeps them going.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <chrono>

class QTcpServer;
class QTcpSocket;

namespace horlan {

// How the server answers one connection: pieces of bytes, each after its pause, then the
// ending.
struct TimeServerReply {
    enum class Ending {
        Close,  // close the connection normally
        Hold,   // keep it open without sending more
        Stream, // send bytes without end until the client goes away
        Reset,  // abort with a reset
    };
    struct Piece {
        QByteArray Bytes;
        std::chrono::milliseconds PauseBefore{0};
    };

    QList<Piece> Pieces;
    Ending Then = Ending::Close;

    // `bytes` at once, then close.
    static TimeServerReply Send(const QByteArray& bytes);
    // Each piece after `pause`, then close.
    static TimeServerReply SendPieces(const QList<QByteArray>& pieces,
                                      std::chrono::milliseconds pause);
    // Close without sending anything.
    static TimeServerReply CloseAtOnce();
    // Accept and send nothing, never close.
    static TimeServerReply Hold();
    // Send without end.
    static TimeServerReply Stream();
    // Accept, then abort the connection with a reset.
    static TimeServerReply Reset();
};

// A server on `address` (a 127.0.0.x of the test's own) and `port` (0 = any free port).
class TimeServerFixture : public QObject {
    Q_OBJECT

public:
    explicit TimeServerFixture(const QString& address, quint16 port = 37);
    ~TimeServerFixture() override;

    bool IsListening() const;
    QString ErrorString() const;
    QString Address() const { return address_.toString(); }
    quint16 Port() const;

    // Replies for the connections in the order they arrive; the last one also answers
    // every later connection. Without a script connections are held open.
    void Script(const QList<TimeServerReply>& replies) { replies_ = replies; }

    // Connections accepted so far.
    int Accepted() const { return accepted_; }
    // Connections the client has not yet left.
    int Open() const { return open_; }
    // Bytes handed to the network by Stream endings, all connections together.
    qint64 BytesStreamed() const { return streamed_; }

signals:
    void ConnectionAccepted(int index);
    void ConnectionGone(int index);

private:
    void OnNewConnection();
    void SendPiece(QTcpSocket* socket, int index, const TimeServerReply& reply, qsizetype piece);
    void Finish(QTcpSocket* socket, int index, TimeServerReply::Ending ending);
    void TopUp(QTcpSocket* socket);

    QHostAddress address_;
    QTcpServer* server_;
    QList<TimeServerReply> replies_;
    int accepted_ = 0;
    int open_ = 0;
    qint64 streamed_ = 0;
};

// An address and port where nothing listens: the port is held (bound, not listening) so no
// other test can start listening there, and connecting is refused.
class RefusingEndpoint {
public:
    explicit RefusingEndpoint(const QString& address, quint16 port = 37);
    ~RefusingEndpoint();
    RefusingEndpoint(const RefusingEndpoint&) = delete;
    RefusingEndpoint& operator=(const RefusingEndpoint&) = delete;

    bool IsBound() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// A listener that never accepts, whose connection queue has been filled by connections of
// its own, so a further connection attempt gets no answer (unless the kernel accepts anyway;
// tests skip then).
class FullBacklogListener {
public:
    explicit FullBacklogListener(const QString& address, quint16 port = 37);
    ~FullBacklogListener();
    FullBacklogListener(const FullBacklogListener&) = delete;
    FullBacklogListener& operator=(const FullBacklogListener&) = delete;

    bool IsListening() const { return listener_ >= 0; }

private:
    int listener_ = -1;
    QList<int> fillers_;
};

} // namespace horlan
