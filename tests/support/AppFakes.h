#pragma once

// Stand-ins for the local host and the other copy of the program.

#include "runtime/PreviousInstance.h"
#include "timesync/LocalHost.h"

namespace horlan {

class FakeLocalHost : public LocalHost {
public:
    QString LocalHostName() override { return QStringLiteral("testhost"); }
    QString LocalIP() override { return IP; }

    QString IP = QStringLiteral("127.0.0.1");
};

class FakePreviousInstance : public PreviousInstance {
public:
    bool PrevInstance() override { return Running; }
    bool Running = false;
};

} // namespace horlan
