#include "timesync/SystemClock.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace horlan {

namespace {

const QString Service = QStringLiteral("org.freedesktop.timedate1");

} // namespace

QDateTime RecordToUtc(const SYSTEMTIME& utc) {
    return QDateTime(QDate(utc.wYear, utc.wMonth, utc.wDay),
                     QTime(utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds), Qt::UTC);
}

TimedatedClock::TimedatedClock(std::function<QDateTime()> now) : now_(std::move(now)) {}

QDateTime TimedatedClock::Now() {
    return now_();
}

void TimedatedClock::SetSystemTime(const SYSTEMTIME& utc, QObject* context, Done done) {
    const qint64 changeMs = Now().msecsTo(RecordToUtc(utc));
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, QStringLiteral("/org/freedesktop/timedate1"), Service, QStringLiteral("SetTime"));
    call << qlonglong(changeMs * 1000) << true << true;
    call.setInteractiveAuthorizationAllowed(true);
    const QDBusConnection bus = QDBusConnection::systemBus();
    // A call on a bus that could not be reached would never be answered.
    if (!bus.isConnected()) {
        done({false,
              bus.lastError().isValid() ? bus.lastError().message()
                                        : QStringLiteral("Not connected to D-Bus server"),
              false});
        return;
    }
    const QDBusPendingCall pending = bus.asyncCall(call, AnswerTimeoutMs);
    // Owned by the caller's object, so an answer that comes after it is gone goes nowhere.
    auto* watcher = new QDBusPendingCallWatcher(pending, context);
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, context,
        [done = std::move(done)](QDBusPendingCallWatcher* answered) {
            answered->deleteLater();
            const QDBusPendingReply<> reply = *answered;
            if (!reply.isError()) {
                done({true, {}, false});
                return;
            }
            const QDBusError error = reply.error();
            done({false, error.message(),
                  error.name() == Service + QStringLiteral(".AutomaticTimeSyncEnabled")});
        });
}

} // namespace horlan
