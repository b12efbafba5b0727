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

QDateTime ToDateTime(ClockTime time) {
    const auto ms = std::chrono::floor<std::chrono::milliseconds>(time);
    return QDateTime::fromMSecsSinceEpoch(ms.time_since_epoch().count(), Qt::UTC);
}

ClockTime ToClockTime(const QDateTime& utc) {
    return ClockTime(std::chrono::milliseconds(utc.toMSecsSinceEpoch()));
}

TimedatedClock::TimedatedClock(std::function<ClockTime()> now) : now_(std::move(now)) {}

ClockTime TimedatedClock::SystemNow() {
    return std::chrono::time_point_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now());
}

ClockTime TimedatedClock::Now() {
    return now_();
}

void TimedatedClock::AdjustBy(std::chrono::microseconds change, QObject* context, Done done) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, QStringLiteral("/org/freedesktop/timedate1"), Service, QStringLiteral("SetTime"));
    call << qlonglong(change.count()) << true << true;
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
