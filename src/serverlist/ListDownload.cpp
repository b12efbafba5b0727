#include "serverlist/ListDownload.h"

#include "runtime/RegularFile.h"
#include "runtime/RuntimeError.h"
#include "serverlist/ServerListFile.h"
#include "timesync/InstrCount.h"

#include <QCoreApplication>

#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>

namespace horlan {

namespace {

QString TooLargeReason() {
    return QCoreApplication::translate("ListDownload",
                                       "the file is larger than 1 MiB, which no server list is");
}

QString StalledReason(int milliseconds) {
    return QCoreApplication::translate("ListDownload", "nothing arrived for %1 seconds")
        .arg(milliseconds / 1000.0);
}

QString HttpStatusReason(int status, const QString& phrase) {
    return QCoreApplication::translate("ListDownload", "the server answered %1 %2")
        .arg(status)
        .arg(phrase)
        .trimmed();
}

QString CutShortReason(qint64 received, qint64 announced) {
    return QCoreApplication::translate("ListDownload", "the transfer ended after %1 of %2 bytes")
        .arg(received)
        .arg(announced);
}

QString EmptyReason() {
    return QCoreApplication::translate("ListDownload", "the server sent an empty file");
}

// Why `body` is no server list, empty when it is one. A list is text, no web page (a parked
// domain, a moved page or a proxy answers with one), and names at least one time server in a
// line of its own, as the next start will read it.
QString NotAListReason(const QByteArray& body) {
    if (body.contains('\0')) {
        return QCoreApplication::translate("ListDownload",
                                           "the file is not a server list (it holds binary data)");
    }
    QByteArrayView text(body);
    if (text.startsWith("\xEF\xBB\xBF")) { // a byte order mark
        text = text.sliced(3);
    }
    if (text.trimmed().startsWith('<')) {
        return QCoreApplication::translate(
            "ListDownload", "the file is not a server list (it looks like a web page)");
    }
    const QStringList entries = ListEntries(ConvertLineEnds(body));
    if (std::none_of(entries.cbegin(), entries.cend(),
                     [](const QString& entry) { return IsTimeServerEntry(entry); })) {
        return QCoreApplication::translate(
            "ListDownload", "the file is not a server list (no line in it names a time server)");
    }
    return {};
}

QString NotSavedReason(const QString& detail) {
    return QCoreApplication::translate("ListDownload", "the file could not be saved (%1)")
        .arg(detail);
}

} // namespace

ListDownload::ListDownload(QUrl address, QString targetPath, QObject* parent)
    : QObject(parent), address_(std::move(address)), targetPath_(std::move(targetPath)),
      file_(targetPath_) {
    stallTimer_.setSingleShot(true);
    stallTimer_.setInterval(DefaultStallTimeoutMs);
    connect(&stallTimer_, &QTimer::timeout, this,
            [this] { Stop(DownloadOutcome::Failed, StalledReason(stallTimer_.interval())); });
}

ListDownload::~ListDownload() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void ListDownload::CheckFacility(const QUrl& address) {
    const QNetworkAccessManager probe;
    if (!probe.supportedSchemes().contains(address.scheme(), Qt::CaseInsensitive)) {
        throw RuntimeError(
            ErrFileNotFound,
            QCoreApplication::translate("ListDownload", "No download support for %1 addresses")
                .arg(address.scheme()));
    }
}

void ListDownload::SetStallTimeout(int milliseconds) {
    stallTimer_.setInterval(milliseconds);
}

void ListDownload::Start() {
    CheckFacility(address_);
    // The new bytes go to a temporary file beside the target; only commit() replaces it.
    if (!file_.open(QIODevice::WriteOnly)) {
        throw RuntimeError(ErrPathFileAccess, StandardDescription(ErrPathFileAccess) +
                                                  QStringLiteral(": ") + targetPath_);
    }
    QNetworkRequest request(address_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    reply_ = manager_.get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &ListDownload::OnMetaData);
    connect(reply_, &QNetworkReply::readyRead, this, &ListDownload::OnReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &ListDownload::OnReplyFinished);
    stallTimer_.start();
}

void ListDownload::Cancel() {
    Stop(DownloadOutcome::Cancelled, {});
}

void ListDownload::OnMetaData() {
    stallTimer_.start();
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    announced_ = length.isValid() ? length.toLongLong() : -1;
    if (announced_ > MaxListBytes) {
        Stop(DownloadOutcome::Failed, TooLargeReason());
    }
}

void ListDownload::OnReadyRead() {
    stallTimer_.start();
    const QByteArray chunk = reply_->readAll();
    if (chunk.isEmpty()) {
        return;
    }
    if (received_ + chunk.size() > MaxListBytes) {
        Stop(DownloadOutcome::Failed, TooLargeReason());
        return;
    }
    body_ += chunk;
    received_ += chunk.size();
    emit Progress(received_, announced_);
}

QString ListDownload::ReplyFailure() const {
    const QNetworkReply::NetworkError error = reply_->error();
    if (announced_ >= 0 && received_ < announced_ &&
        (error == QNetworkReply::NoError || error == QNetworkReply::RemoteHostClosedError)) {
        return CutShortReason(received_, announced_);
    }
    // Failures below HTTP (connection, TLS, refused redirects) say best what went wrong.
    if (error != QNetworkReply::NoError && error < QNetworkReply::ProxyConnectionRefusedError) {
        return reply_->errorString();
    }
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
        return HttpStatusReason(
            status.toInt(),
            reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    }
    if (error != QNetworkReply::NoError) {
        return reply_->errorString();
    }
    if (received_ == 0) {
        return EmptyReason();
    }
    return {};
}

void ListDownload::OnReplyFinished() {
    if (done_) {
        return;
    }
    OnReadyRead();
    if (done_) {
        return;
    }
    QString failure = ReplyFailure();
    if (failure.isEmpty()) {
        failure = NotAListReason(body_);
    }
    if (!failure.isEmpty()) {
        Stop(DownloadOutcome::Failed, failure);
        return;
    }
    if (file_.write(body_) != body_.size() || !CommitSaveFile(file_)) {
        Complete(DownloadOutcome::Failed, NotSavedReason(file_.errorString()));
        return;
    }
    Complete(DownloadOutcome::Saved, {});
}

void ListDownload::Stop(DownloadOutcome outcome, const QString& reason) {
    if (done_) {
        return;
    }
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
    Complete(outcome, reason);
}

void ListDownload::Complete(DownloadOutcome outcome, const QString& reason) {
    done_ = true;
    stallTimer_.stop();
    if (outcome != DownloadOutcome::Saved && file_.isOpen()) {
        file_.cancelWriting();
        file_.commit();
    }
    if (reply_) {
        reply_->deleteLater();
    }
    emit Finished(outcome, reason);
}

} // namespace horlan
