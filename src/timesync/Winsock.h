#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

namespace horlan {

// The TCP client control of the main window (`Winsock1`): it resolves the host itself,
// connects in the background and reports what happens through its four signals, always on
// the thread that owns it. Failures carry Windows Sockets error numbers and the system's own
// description. A slot may call Close() or Connect() again; it must not delete the control
// (use deleteLater()).
class Winsock : public QObject {
    Q_OBJECT

public:
    // The values of State(), as the classic control numbers them.
    enum StateValue : int {
        sckClosed = 0,
        sckOpen = 1,
        sckListening = 2,
        sckConnectionPending = 3,
        sckResolvingHost = 4,
        sckHostResolved = 5,
        sckConnecting = 6,
        sckConnected = 7,
        sckClosing = 8,
        sckError = 9,
    };

    // Bytes read per readiness event and held at most until GetData() takes them.
    static constexpr qsizetype ChunkBytes = 64 * 1024;

    explicit Winsock(QObject* parent = nullptr);
    ~Winsock() override;

    void SetRemoteHost(const QString& host) { remoteHost_ = host; }
    QString RemoteHost() const { return remoteHost_; }
    void SetRemotePort(int port) { remotePort_ = port; }
    int RemotePort() const { return remotePort_; }

    // One of StateValue; 0 (sckClosed) after Close().
    int State() const { return state_; }

    // Starts resolving RemoteHost() and connecting to RemotePort(); returns at once. An
    // exchange still under way is abandoned first.
    void Connect();

    // Closes the connection and abandons any exchange: results that arrive later are
    // ignored. Harmless when already closed.
    void Close();

    // Takes the bytes received so far (they are removed from the control).
    QByteArray GetData();

    // Time allowed for each address to accept the connection before error 10060.
    void SetConnectTimeout(std::chrono::milliseconds timeout) { connectTimeout_ = timeout; }
    std::chrono::milliseconds ConnectTimeout() const { return connectTimeout_; }

    // Time allowed from the connection to the server's close; when it passes, the control
    // closes the connection and reports error 10060. Zero (the default) allows any time.
    void SetReplyTimeout(std::chrono::milliseconds timeout) { replyTimeout_ = timeout; }

signals:
    // The connection is established.
    void Connected();
    // Data has arrived; `bytesTotal` is what GetData() would return now.
    void DataArrival(qint64 bytesTotal);
    // The peer closed the connection, after every byte it sent was announced by DataArrival.
    // State() is sckClosing until Close() is called.
    void Closed();
    // Resolution, connection or transfer failed (State() is sckError).
    void Error(int number, const QString& description);

private:
    struct Private;

    QString remoteHost_;
    int remotePort_ = 0;
    int state_ = sckClosed;
    std::chrono::milliseconds connectTimeout_{21000};
    std::chrono::milliseconds replyTimeout_{0};
    std::unique_ptr<Private> d;
};

} // namespace horlan
