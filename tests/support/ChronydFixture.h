#pragma once

// Debian's chronyd as a loopback NTP server, and on request an NTS-KE server, for one test.
// It runs with -x (it never touches the clock) and -4, its configuration, keys, certificates,
// pid, socket and dump files in a temporary folder, and is stopped by its pid. Only inside the
// tests' own network namespace (scripts/run-ctest), as root there.

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>

namespace horlan {

struct ChronydFixture {
    // The NTS-KE server's certificate: none (NTP only), one for the address signed by CaFile(),
    // one for another name, an expired one, or one from a CA nobody trusts.
    enum class Cert { None, Valid, OtherName, Expired, Untrusted };

    struct Options {
        QString Address; // a 127.0.0.x of the test's own
        quint16 Port = 123;
        Cert Nts = Cert::None;
        quint16 NtsPort = 4460;
        QString NtpServer; // named to NTS clients instead of Address, when set
    };

    explicit ChronydFixture(const Options& options) : Opt(options) {
        const QString conf = Dir.filePath("chrony.conf");
        QString text = QStringLiteral("local stratum 8\nallow 127.0.0.0/8\nbindaddress %1\n"
                                      "port %2\ncmdport 0\nbindcmdaddress %3\npidfile %4\n")
                           .arg(Opt.Address)
                           .arg(Opt.Port)
                           .arg(Dir.filePath("chronyd.sock"), Dir.filePath("chronyd.pid"));
        if (Opt.Nts != Cert::None) {
            if (!MakeCertificate()) {
                return;
            }
            text += QStringLiteral("ntsserverkey %1\nntsservercert %2\nntsport %3\n"
                                   "ntsdumpdir %4\nntsprocesses 0\n")
                        .arg(Dir.filePath("server.key"), Dir.filePath("server.pem"))
                        .arg(Opt.NtsPort)
                        .arg(Dir.path());
            text += Opt.NtpServer.isEmpty() ? QString() : "ntsntpserver " + Opt.NtpServer + "\n";
        }
        QFile file(conf);
        if (!file.open(QIODevice::WriteOnly) || !file.write(text.toUtf8()) || !file.flush()) {
            return;
        }
        Chronyd.setProcessChannelMode(QProcess::MergedChannels);
        Chronyd.start("chronyd", {"-4", "-x", "-d", "-u", "root", "-f", conf});
        Serving = Chronyd.waitForStarted() && WaitUntilServing();
    }

    ~ChronydFixture() {
        Chronyd.terminate(); // SIGTERM to its pid, when it runs
        Chronyd.waitForFinished(5000);
    }

    // The CA that signed every certificate but the untrusted one: for SSL_CERT_FILE.
    QString CaFile() const { return Dir.filePath("ca.pem"); }
    QString Log() { return QString::fromLocal8Bit(Chronyd.readAll()); }

    Options Opt;
    bool Serving = false; // started, answered an NTP request and accepts NTS-KE connections
    QTemporaryDir Dir;    // chronyc -h DIR/chronyd.sock
    QProcess Chronyd;

private:
    bool Openssl(const QStringList& arguments) {
        QProcess openssl;
        openssl.setWorkingDirectory(Dir.path());
        openssl.start("openssl", arguments);
        return openssl.waitForFinished(10000) && openssl.exitCode() == 0;
    }

    // A P-256 key NAME.key and, by the `more` arguments, a request or a self-signed CA.
    bool KeyAnd(const QString& name, const QString& subject, const QStringList& more) {
        return Openssl(QStringList{"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                                   "-nodes", "-keyout", name + ".key", "-subj", "/CN=" + subject} +
                       more);
    }

    bool MakeCertificate() {
        const QString name = Opt.Nts == Cert::OtherName ? "other.test" : Opt.Address;
        const QString ca = Opt.Nts == Cert::Untrusted ? "untrusted" : "ca";
        const QString san =
            (QHostAddress(name).isNull() ? "subjectAltName=DNS:" : "subjectAltName=IP:") + name;
        return KeyAnd("ca", "ca", {"-x509", "-days", "2", "-out", "ca.pem"}) &&
               (ca == "ca" || KeyAnd(ca, ca, {"-x509", "-days", "2", "-out", ca + ".pem"})) &&
               KeyAnd("server", name, {"-addext", san, "-out", "server.csr"}) &&
               Openssl({"x509", "-req", "-in", "server.csr", "-copy_extensions", "copy", "-CA",
                        ca + ".pem", "-CAkey", ca + ".key", "-set_serial", "1", "-days",
                        Opt.Nts == Cert::Expired ? "-1" : "2", "-out", "server.pem"});
    }

    bool WaitUntilServing() {
        QUdpSocket ntp;
        const QByteArray request = QByteArray(1, 0x23) + QByteArray(47, '\0'); // NTPv4 client
        for (QDeadlineTimer deadline(10000);
             !deadline.hasExpired() && Chronyd.state() == QProcess::Running;) {
            ntp.writeDatagram(request, QHostAddress(Opt.Address), Opt.Port);
            QTcpSocket ke;
            ke.connectToHost(Opt.Address, Opt.NtsPort);
            if (ntp.waitForReadyRead(100) && (Opt.Nts == Cert::None || ke.waitForConnected(100))) {
                return true;
            }
        }
        return false;
    }
};

} // namespace horlan
