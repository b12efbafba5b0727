#include "timesync/Winsock.h"
#include "support/TimeServerFixture.h"
#include "timesync/LocalHost.h"
#include "timesync/ReplyBuffer.h"
#include "timesync/SocketErrors.h"

#include "support/Printers.h"
#include <QHostAddress>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>

using namespace horlan;
using namespace std::chrono_literals;

namespace {

// Plays the main window's part in an exchange: takes every arrival into a ReplyBuffer and
// notes the events in order.
struct Client {
    Client() {
        QObject::connect(&socket, &Winsock::Connected,
                         [this] { Events << QStringLiteral("connect"); });
        QObject::connect(&socket, &Winsock::DataArrival, [this](qint64 total) {
            MostHeld = std::max(MostHeld, total);
            ++Arrivals;
            if (Take) {
                Reply.Append(socket.GetData());
            }
            if (Events.isEmpty() || Events.last() != QStringLiteral("data")) {
                Events << QStringLiteral("data");
            }
        });
        QObject::connect(&socket, &Winsock::Closed, [this] {
            Events << QStringLiteral("close");
            StateAtClose = socket.State();
        });
        QObject::connect(&socket, &Winsock::Error, [this](int number, const QString& description) {
            Events << QStringLiteral("error %1").arg(number);
            Description = description;
        });
    }

    void Connect(const QString& host, quint16 port = 37) {
        Reply.Clear();
        socket.SetRemoteHost(host);
        socket.SetRemotePort(port);
        socket.Connect();
    }

    bool Finished() const {
        return !Events.isEmpty() &&
               (Events.last() == QStringLiteral("close") || Events.last().startsWith("error"));
    }

    Winsock socket;
    ReplyBuffer Reply;
    QStringList Events;
    QString Description;
    qint64 MostHeld = 0;
    int Arrivals = 0;
    int StateAtClose = -1;
    bool Take = true;
};

QByteArray Four() {
    return QByteArray("\xE0\x00\x00\x20", 4);
}

} // namespace

TEST(Winsock, ExchangesAgainstALoopbackServer) {
    const QList<QByteArray> ones = {"\xE0", QByteArray(1, '\0'), QByteArray(1, '\0'), " "};
    const struct {
        const char* address;
        TimeServerReply reply;
        QStringList events;
        qint64 length;
        // A reset may reach the client before it has seen its connection complete.
        bool connectOptional = false;
    } rows[] = {
        {"127.0.0.60", TimeServerReply::Send(Four()), {"connect", "data", "close"}, 4},
        {"127.0.0.61", TimeServerReply::SendPieces(ones, 30ms), {"connect", "data", "close"}, 4},
        {"127.0.0.64", TimeServerReply::CloseAtOnce(), {"connect", "close"}, 0},
        {"127.0.0.65", TimeServerReply::Reset(), {"error 10054"}, 0, true},
    };
    for (const auto& row : rows) {
        TimeServerFixture server(QString::fromLatin1(row.address));
        ASSERT_TRUE(server.IsListening())
            << row.address << ": " << server.ErrorString().toStdString();
        server.Script({row.reply});
        Client client;
        client.Connect(QString::fromLatin1(row.address));
        EXPECT_EQ(client.socket.State(), Winsock::sckResolvingHost);
        QTRY_VERIFY_WITH_TIMEOUT(client.Finished(), 10000);
        QStringList events = client.Events;
        if (row.connectOptional) {
            events.removeAll(QStringLiteral("connect"));
        }
        EXPECT_EQ(events, row.events) << row.address;
        EXPECT_EQ(client.Reply.Length(), row.length) << row.address;
        if (row.length == 4) {
            EXPECT_EQ(client.Reply.Bytes(), Four()) << row.address;
        }
        if (row.events.last() == QStringLiteral("close")) {
            EXPECT_EQ(client.StateAtClose, Winsock::sckClosing);
            client.socket.Close();
            EXPECT_EQ(client.socket.State(), Winsock::sckClosed);
        } else {
            EXPECT_EQ(client.socket.State(), Winsock::sckError);
            EXPECT_EQ(client.Description, ErrnoDescription(ECONNRESET));
        }
    }
}

TEST(Winsock, ConnectionFailuresCarryWindowsSocketsNumbers) {
    {
        RefusingEndpoint refusing(QStringLiteral("127.0.0.66"));
        ASSERT_TRUE(refusing.IsBound());
        Client client;
        client.Connect(QStringLiteral("127.0.0.66"));
        QTRY_VERIFY_WITH_TIMEOUT(client.Finished(), 10000);
        EXPECT_EQ(client.Events, QStringList{QStringLiteral("error 10061")});
        EXPECT_EQ(client.Description, QStringLiteral("Connection refused"));
        EXPECT_EQ(client.socket.State(), Winsock::sckError);
    }
    {
        FullBacklogListener full(QStringLiteral("127.0.0.67"));
        ASSERT_TRUE(full.IsListening());
        Client client;
        client.socket.SetConnectTimeout(300ms);
        client.Connect(QStringLiteral("127.0.0.67"));
        QTRY_VERIFY_WITH_TIMEOUT(client.Finished() || client.Events.contains("connect"), 10000);
        if (client.Events.contains(QStringLiteral("connect"))) {
            GTEST_SKIP() << "the kernel accepted a connection beyond a full queue";
        }
        EXPECT_EQ(client.Events, QStringList{QStringLiteral("error 10060")});
        EXPECT_EQ(client.Description, ErrnoDescription(ETIMEDOUT));
    }
}

TEST(Winsock, NewConnectAbandonsTheExchangeUnderWay) {
    TimeServerFixture server(QStringLiteral("127.0.0.68"));
    ASSERT_TRUE(server.IsListening()) << server.ErrorString().toStdString();
    server.Script({TimeServerReply::Hold(), TimeServerReply::Send(Four())});
    QSignalSpy gone(&server, &TimeServerFixture::ConnectionGone);
    Client client;
    client.Connect(QStringLiteral("127.0.0.68"));
    QTRY_COMPARE_WITH_TIMEOUT(server.Accepted(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(client.Events.contains("connect"), 10000);

    client.Connect(QStringLiteral("127.0.0.68"));
    QTRY_VERIFY_WITH_TIMEOUT(client.Finished(), 10000);
    EXPECT_EQ(client.Events, (QStringList{"connect", "connect", "data", "close"}));
    EXPECT_EQ(client.Reply.Bytes(), Four());
    QTRY_VERIFY_WITH_TIMEOUT(!gone.isEmpty(), 10000);
    EXPECT_EQ(gone.first().first().toInt(), 0);
}

TEST(Winsock, LookupResultAfterCloseIsDropped) {
    RefusingEndpoint refusing(QStringLiteral("127.0.0.69"));
    TimeServerFixture server(QStringLiteral("127.0.0.70"));
    ASSERT_TRUE(refusing.IsBound());
    ASSERT_TRUE(server.IsListening()) << server.ErrorString().toStdString();
    server.Script({TimeServerReply::Send(Four())});

    Client client;
    client.Connect(QStringLiteral("127.0.0.69"));
    client.socket.Close();
    EXPECT_EQ(client.socket.State(), Winsock::sckClosed);
    client.Connect(QStringLiteral("127.0.0.69"));
    client.Connect(QStringLiteral("127.0.0.70"));
    QTRY_VERIFY_WITH_TIMEOUT(client.Finished(), 10000);
    EXPECT_EQ(client.Events, (QStringList{"connect", "data", "close"}));
    EXPECT_EQ(server.Accepted(), 1);
}

TEST(Winsock, LocalhostResolvesFromTheHostsFile) {
    // Any free port on 127.0.0.1, so that no other test's port 37 is needed.
    TimeServerFixture server(QStringLiteral("127.0.0.1"), 0);
    ASSERT_TRUE(server.IsListening()) << server.ErrorString().toStdString();
    server.Script({TimeServerReply::Send(Four())});
    Client client;
    client.Connect(QStringLiteral("localhost"), server.Port());
    QTRY_VERIFY_WITH_TIMEOUT(client.Finished(), 10000);
    EXPECT_EQ(client.Events, (QStringList{"connect", "data", "close"}));
    EXPECT_EQ(client.Reply.Bytes(), Four());
}

TEST(Winsock, EndlessStreamKeepsMemoryBounded) {
    const struct {
        const char* address;
        bool take;
    } rows[] = {{"127.0.0.71", true}, {"127.0.0.72", false}};
    for (const auto& row : rows) {
        TimeServerFixture server(QString::fromLatin1(row.address));
        ASSERT_TRUE(server.IsListening()) << server.ErrorString().toStdString();
        server.Script({TimeServerReply::Stream(), TimeServerReply::Send(Four())});
        QSignalSpy gone(&server, &TimeServerFixture::ConnectionGone);
        Client client;
        client.Take = row.take;
        client.Connect(QString::fromLatin1(row.address));
        if (row.take) {
            QTRY_VERIFY_WITH_TIMEOUT(client.Reply.Length() >= 8 * 1024 * 1024, 60000);
            EXPECT_LE(client.Reply.Bytes().size(), ReplyBuffer::KeptBytes);
        } else {
            // Nobody takes the data: the control stops reading at one chunk.
            QTRY_COMPARE_WITH_TIMEOUT(client.MostHeld, Winsock::ChunkBytes, 10000);
            EXPECT_EQ(client.socket.GetData().size(), Winsock::ChunkBytes);
            // Taking the data lets reading go on.
            const int arrivals = client.Arrivals;
            QTRY_VERIFY_WITH_TIMEOUT(client.Arrivals > arrivals, 10000);
        }
        EXPECT_LE(client.MostHeld, Winsock::ChunkBytes);
        EXPECT_EQ(client.socket.State(), Winsock::sckConnected);

        // A new exchange drops the stream and succeeds.
        client.Take = true;
        client.Connect(QString::fromLatin1(row.address));
        QTRY_VERIFY_WITH_TIMEOUT(client.Finished(), 10000);
        EXPECT_EQ(client.Reply.Length(), 4) << row.address;
        QTRY_VERIFY_WITH_TIMEOUT(!gone.isEmpty(), 10000);
    }
}

TEST(LocalHost, NamesThisMachine) {
    SystemLocalHost host;
    EXPECT_EQ(host.LocalHostName(), QSysInfo::machineHostName());
    const QString ip = host.LocalIP();
    if (!ip.isEmpty()) {
        const QHostAddress address(ip);
        EXPECT_EQ(address.protocol(), QAbstractSocket::IPv4Protocol) << ip.toStdString();
        EXPECT_FALSE(address.isLoopback()) << ip.toStdString();
    }
}
