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
        quint16 CmdPort = 0; // chronyc's UDP port on Address; 0: only the socket in Folder()
    };

    explicit ChronydFixture(const Options& options) : Opt(options) {
        const QString conf = Dir.filePath("chrony.conf");
        QString text = QStringLiteral("local stratum 8\nallow 127.0.0.0/8\nbindaddress %1\n"
                                      "port %2\ncmdport %3\nbindcmdaddress %4\npidfile %5\n")
                           .arg(Opt.Address)
                           .arg(Opt.Port)
                           .arg(Opt.CmdPort)
                           .arg(Dir.filePath("chronyd.sock"), Dir.filePath("chronyd.pid"));
        if (Opt.CmdPort != 0) {
            text += "bindcmdaddress " + Opt.Address + "\n";
        }
        if (Opt.Nts != Cert::None) {
            if (!MakeCertificate()) {
                return;
            }
            text += QStringLiteral("ntsserverkey %1\nntsservercert %2\nntsport %3\n"
                                   "ntsdumpdir %4\nntsprocesses 0\n")
                        .arg(Dir.filePath("server.key"), Dir.filePath("server.pem"))
                        .arg(Opt.NtsPort)
                        .arg(Dir.path());
        }
        QFile file(conf);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) != text.size()) {
            return;
        }
        file.close();
        Chronyd.setProcessChannelMode(QProcess::MergedChannels);
        Chronyd.start("chronyd", {"-4", "-x", "-d", "-u", "root", "-f", conf});
        Serving = Chronyd.waitForStarted() && WaitUntilServing();
    }

    ~ChronydFixture() {
        if (Chronyd.state() != QProcess::NotRunning) {
            Chronyd.terminate(); // SIGTERM to its pid
            Chronyd.waitForFinished(5000);
        }
    }

    // The CA that signed every certificate but the untrusted one: for SSL_CERT_FILE.
    QString CaFile() const { return Dir.filePath("ca.pem"); }
    QString Folder() const { return Dir.path(); }
    QString Log() { return QString::fromLocal8Bit(Chronyd.readAll()); }

    Options Opt;
    bool Serving = false; // started, answered an NTP request and accepts NTS-KE connections
    QTemporaryDir Dir;
    QProcess Chronyd;

private:
    bool Openssl(const QStringList& arguments) {
        QProcess openssl;
        openssl.setWorkingDirectory(Dir.path());
        openssl.start("openssl", arguments);
        return openssl.waitForFinished(10000) && openssl.exitCode() == 0;
    }

    bool MakeCa(const QString& name) {
        return Openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                        "-nodes", "-keyout", name + ".key", "-out", name + ".pem", "-days", "2",
                        "-subj", "/CN=" + name});
    }

    bool MakeCertificate() {
        const QString name = Opt.Nts == Cert::OtherName ? "other.test" : Opt.Address;
        const QString ca = Opt.Nts == Cert::Untrusted ? "untrusted" : "ca";
        QFile san(Dir.filePath("san.cnf"));
        if (!san.open(QIODevice::WriteOnly) ||
            san.write((QHostAddress(name).isNull() ? "subjectAltName=DNS:" : "subjectAltName=IP:") +
                      name.toUtf8()) <= 0) {
            return false;
        }
        san.close();
        return MakeCa("ca") && (ca == "ca" || MakeCa(ca)) &&
               Openssl({"req", "-new", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                        "-nodes", "-keyout", "server.key", "-out", "server.csr", "-subj",
                        "/CN=" + name}) &&
               Openssl({"x509", "-req", "-in", "server.csr", "-CA", ca + ".pem", "-CAkey",
                        ca + ".key", "-set_serial", "1", "-days",
                        Opt.Nts == Cert::Expired ? "-1" : "2", "-extfile", "san.cnf", "-out",
                        "server.pem"});
    }

    bool WaitUntilServing() {
        QUdpSocket ntp;
        QByteArray request(48, '\0');
        request[0] = 0x23; // version 4, client
        for (QDeadlineTimer deadline(10000); !deadline.hasExpired();) {
            if (Chronyd.state() != QProcess::Running) {
                return false;
            }
            ntp.writeDatagram(request, QHostAddress(Opt.Address), Opt.Port);
            if (!ntp.waitForReadyRead(100)) {
                continue;
            }
            ntp.receiveDatagram();
            QTcpSocket ke;
            ke.connectToHost(Opt.Address, Opt.NtsPort);
            if (Opt.Nts == Cert::None || ke.waitForConnected(100)) {
                return true;
            }
        }
        return false;
    }
};

} // namespace horlan
