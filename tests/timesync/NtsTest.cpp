#include "support/ChronydFixture.h"
#include "timesync/NtsKeClient.h"
#include "timesync/NtsPacket.h"

#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>
#include <openssl/x509_vfy.h>

using namespace horlan;
using Cert = ChronydFixture::Cert;

namespace {

using KeOutcome = std::pair<std::optional<NtsKeys>, std::optional<NtsKeFailure>>;

// Key establishment trusting `ca`. A first start is abandoned by the second, and a client
// started and destroyed at once comes before: neither may signal.
KeOutcome Establish(const QString& address, quint16 port, const QString& ca) {
    qputenv("SSL_CERT_FILE", ca.toUtf8());
    NtsKeClient(nullptr).Start(address, port);
    NtsKeClient client;
    KeOutcome outcome;
    int arrived = 0;
    const auto note = [&arrived](auto& into) {
        return [&arrived, &into](const auto& value) { into = value, ++arrived; };
    };
    QObject::connect(&client, &NtsKeClient::Established, note(outcome.first));
    QObject::connect(&client, &NtsKeClient::Failed, note(outcome.second));
    client.Start(address, port);
    client.Start(address, port);
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrived > 0; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(arrived, 1);
    return outcome;
}

} // namespace

TEST(Nts, KeysFromChronydAuthenticateItsReply) {
    ChronydFixture chronyd({"127.0.0.141", 11123, Cert::Valid, 14460});
    ASSERT_TRUE(chronyd.Serving) << chronyd.Log().toStdString();
    const auto [keys, failure] = Establish("127.0.0.141", 14460, chronyd.CaFile());
    ASSERT_TRUE(keys) << failure->Description.toStdString();
    EXPECT_EQ(keys->NtpPort, 11123);                                      // negotiated
    const QByteArray header = QByteArray(1, 0x23) + QByteArray(47, '\0'); // version 4, client
    const QByteArray id = NtsRandomBytes(NtsUniqueIdBytes);
    QUdpSocket ntp;
    ntp.writeDatagram(NtsRequest(header, id, keys->Cookies.first(), keys->C2S),
                      QHostAddress(keys->NtpServer), keys->NtpPort);
    ASSERT_TRUE(ntp.waitForReadyRead(5000));
    const QByteArray reply = ntp.receiveDatagram().data();
    const NtsReplyCheck check = CheckNtsReply(reply, id, keys->S2C);
    EXPECT_TRUE(check.Authentic);
    EXPECT_EQ(check.Cookies.size(), 2); // one more for the sealed placeholder
    EXPECT_FALSE(CheckNtsReply(reply, id, keys->C2S).Authentic);
}

TEST(Nts, KeyEstablishmentRepliesAreJudgedWhole) {
    using enum NtsKeReplyParser::Problem;
    const QByteArray agreed = "80010002000080040002000f", cookie = "00050004c00c1e00",
                     end = "80000000";
    const std::tuple<QByteArray, NtsKeReplyParser::Problem, int> rows[] = {
        {agreed + cookie + end, None, 0},
        {"800200020001" + end, ServerError, 1},
        {agreed + cookie + "80070000" + end, Malformed, 0},
        {agreed + cookie + "c0090000" + end, UnknownCritical, 0x4009},
        {agreed + cookie + "40090000" + end, None, 0},
        {agreed + cookie, MissingEnd, 0},
        {"8001000080040002000f" + cookie + end, NoNtpV4, 0},
        {"80010002000080040002000e" + cookie + end, NoAesSiv, 0},
        {agreed + end, NoCookies, 0},
    };
    for (const auto& [reply, problem, code] : rows) {
        NtsKeReplyParser parser;
        parser.Feed(QByteArray::fromHex(reply));
        parser.Close();
        EXPECT_EQ(std::pair(parser.Failure(), int(parser.Code())), std::pair(problem, code));
    }
}

TEST(Nts, FailuresNameTheirReason) {
    using enum NtsKeFailure::Kind;
    const std::tuple<Cert, NtsKeFailure::Kind, int, QString> rows[] = {
        {Cert::OtherName, Certificate, X509_V_ERR_IP_ADDRESS_MISMATCH, "IP address mismatch"},
        {Cert::Expired, Certificate, X509_V_ERR_CERT_HAS_EXPIRED, "certificate has expired"},
        {Cert::Untrusted, Certificate, X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY,
         "unable to get local issuer certificate"},
        {Cert::None, Socket, 10061, "Connection refused"},
    };
    for (const auto& [cert, kind, number, reason] : rows) {
        ChronydFixture chronyd({"127.0.0.142", 11124, cert, 14461});
        ASSERT_TRUE(chronyd.Serving) << chronyd.Log().toStdString();
        const auto [keys, failure] = Establish("127.0.0.142", 14461, chronyd.CaFile());
        ASSERT_TRUE(failure);
        EXPECT_EQ(std::tie(failure->What, failure->Number, failure->Description),
                  std::tie(kind, number, reason));
    }
}

// The program ends while the workers of abandoned clients are still inside OpenSSL.
TEST(Nts, AbandonedWorkersLeaveOpenSslBeforeTheEnd) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress("127.0.0.143"), 14462));
    std::vector<std::unique_ptr<NtsKeClient>> clients(6);
    for (auto& client : clients) {
        (client = std::make_unique<NtsKeClient>())->Start("127.0.0.143", 14462);
    }
    QTest::qWait(200);
}
