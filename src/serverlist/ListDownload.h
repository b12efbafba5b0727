#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

class QNetworkReply;

namespace horlan {

enum class DownloadOutcome { Saved, Failed, Cancelled };

// Fetches one server list and saves it at a path. The file at that path is replaced only by
// a complete, accepted body that is a server list (text, no web page, at least one line that
// passes the entry check of "&Synchronize"); whatever goes wrong, an existing file keeps its
// bytes.
class ListDownload : public QObject {
    Q_OBJECT

public:
    // A server list is a few hundred bytes; anything beyond this is not one.
    static constexpr qint64 MaxListBytes = 1024 * 1024;
    // How long the transfer may go without receiving anything before it is given up.
    static constexpr int DefaultStallTimeoutMs = 30000;

    ListDownload(QUrl address, QString targetPath, QObject* parent = nullptr);
    ~ListDownload() override;

    // Throws RuntimeError 53 when this program has no means to fetch `address` at all (no
    // network backend for its scheme, e.g. no TLS support for https).
    static void CheckFacility(const QUrl& address);

    // Starts the transfer; Finished follows exactly once. Throws RuntimeError 53 as
    // CheckFacility does, and 75 when the target's folder cannot take the new file.
    void Start();

    // Stops the transfer; Finished follows with Cancelled unless it has already come.
    void Cancel();

    void SetStallTimeout(int milliseconds);

    const QUrl& Address() const { return address_; }
    const QString& TargetPath() const { return targetPath_; }

signals:
    // Bytes received so far, and the announced total (-1 when unknown).
    void Progress(qint64 received, qint64 total);
    // The end of the transfer; `reason` says why it failed (empty otherwise).
    void Finished(horlan::DownloadOutcome outcome, const QString& reason);

private:
    void OnMetaData();
    void OnReadyRead();
    void OnReplyFinished();
    void Stop(DownloadOutcome outcome, const QString& reason);
    void Complete(DownloadOutcome outcome, const QString& reason);
    QString ReplyFailure() const;

    QUrl address_;
    QString targetPath_;
    QNetworkAccessManager manager_;
    QPointer<QNetworkReply> reply_;
    QSaveFile file_;
    QTimer stallTimer_;
    // What arrived; it is checked whole before any of it is saved.
    QByteArray body_;
    qint64 received_ = 0;
    qint64 announced_ = -1;
    bool done_ = false;
};

} // namespace horlan
