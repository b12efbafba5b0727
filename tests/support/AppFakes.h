#pragma once

// Stand-ins for the clock, the local host and the other copy of the program.

#include "runtime/PreviousInstance.h"
#include "timesync/LocalHost.h"
#include "timesync/SystemClock.h"

#include <QList>

namespace horlan {

// Records every request to set the clock; refuses with `RefuseReason` when it is set.
class FakeSystemClock : public SystemClock {
public:
    ClockResult SetSystemTime(const SYSTEMTIME& utc) override {
        Calls.append(utc);
        if (!RefuseReason.isEmpty()) {
            return {false, RefuseReason};
        }
        return {true, {}};
    }

    QList<SYSTEMTIME> Calls;
    QString RefuseReason;
};

class FakeLocalHost : public LocalHost {
public:
    QString LocalHostName() override { return HostName; }
    QString LocalIP() override { return IP; }

    QString HostName = QStringLiteral("testhost");
    QString IP = QStringLiteral("127.0.0.1");
};

class FakePreviousInstance : public PreviousInstance {
public:
    bool PrevInstance() override { return Running; }
    bool Running = false;
};

} // namespace horlan
