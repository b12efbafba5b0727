#include "runtime/Shell.h"

#include "runtime/RuntimeError.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFutureWatcher>
#include <QPointer>
#include <QProcess>
#include <QPromise>
#include <QThreadPool>
#include <QUrl>

#include <memory>

namespace horlan {

namespace {

// Long enough for the file manager to be started by the bus; after that the folder is opened
// the other way, so that a click does not go unanswered.
constexpr int FileManagerCallTimeoutMs = 5000;

// Asks the desktop's file manager to show `folder` selected in its parent, as the
// FileManager1 interface offers it, without waiting for the answer. Without a session bus
// the answer is that error.
QDBusPendingCall SendShowItems(const QString& folder) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return QDBusPendingCall::fromError(bus.lastError());
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    const QString uri = QUrl::fromLocalFile(QDir::cleanPath(folder)).toString(QUrl::FullyEncoded);
    call << QStringList{uri} << QString();
    return bus.asyncCall(call, FileManagerCallTimeoutMs);
}

} // namespace

void DesktopShell::StartAndReport(const QString& program, const QStringList& arguments,
                                  QObject* context, Finished finished) {
    // Not owned by `context`: deleting a running QProcess would kill the program.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    const auto report = [process, watched = QPointer<QObject>(context),
                         finished = std::move(finished)](std::optional<int> exitStatus) {
        process->deleteLater();
        if (watched) {
            finished(exitStatus);
        }
    };
    QObject::connect(
        process, &QProcess::finished, process, [report](int exitCode, QProcess::ExitStatus status) {
            report(status == QProcess::NormalExit ? std::optional<int>(exitCode) : std::nullopt);
        });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [report](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             report(std::nullopt);
                         }
                     });
    process->start(program, arguments);
    process->closeWriteChannel();
}

bool DesktopShell::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void DesktopShell::ShowFolder(const QString& folder, QObject* context, Failed failed) {
    // No file manager answered: the desktop's handler for folders opens it instead.
    auto openFolder = [folder, failed = std::move(failed)] {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
            failed(RuntimeError(ErrFileNotFound, StandardDescription(ErrFileNotFound)));
        }
    };
    // The first use of the session bus loads libdbus and connects, tens of milliseconds, so a
    // worker sends the call. Both steps answer on this thread through watchers owned by
    // `context`, which drop the answer with it.
    auto promise = std::make_shared<QPromise<QDBusPendingCall>>();
    auto* sent = new QFutureWatcher<QDBusPendingCall>(context);
    QObject::connect(sent, &QFutureWatcherBase::finished, sent,
                     [sent, context, openFolder = std::move(openFolder)] {
                         sent->deleteLater();
                         auto* answer = new QDBusPendingCallWatcher(sent->result(), context);
                         QObject::connect(answer, &QDBusPendingCallWatcher::finished, answer,
                                          [answer, openFolder] {
                                              answer->deleteLater();
                                              if (answer->isError()) {
                                                  openFolder();
                                              }
                                          });
                     });
    sent->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, folder] {
        promise->addResult(SendShowItems(folder));
        promise->finish();
    });
}

} // namespace horlan
