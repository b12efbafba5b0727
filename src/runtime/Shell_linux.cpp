#include "runtime/Shell.h"

#include "runtime/RuntimeError.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QUrl>

namespace horlan {

namespace {

// Long enough for the file manager to be started by the bus, short enough not to hang the window.
constexpr int FileManagerCallTimeoutMs = 5000;

// Asks the desktop's file manager to show `folder` selected in its parent, as the
// FileManager1 interface offers it. False when no file manager answered.
bool ShowItemsOverBus(const QString& folder) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    const QString uri = QUrl::fromLocalFile(QDir::cleanPath(folder)).toString(QUrl::FullyEncoded);
    call << QStringList{uri} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, FileManagerCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
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

void DesktopShell::ShowFolder(const QString& folder) {
    if (ShowItemsOverBus(folder)) {
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        Raise(ErrFileNotFound);
    }
}

} // namespace horlan
