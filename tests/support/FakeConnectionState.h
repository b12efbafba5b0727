#pragma once

// A connection source that answers from a script.

#include "netstatus/ConnectionState.h"
#include "runtime/RuntimeError.h"

#include <QList>

#include <optional>

namespace horlan {

// One answer of the source: the return value, the flag word it writes (none: left
// unwritten) and, when ErrorNumber is not 0, the run-time error it raises instead.
struct ConnectionAnswer {
    bool Connected = false;
    std::optional<quint32> Flags;
    int ErrorNumber = 0;
};

// Answers with Script's entries in turn, then with Answer. Counts the queries.
class FakeConnectionState : public ConnectionState {
public:
    bool InternetGetConnectedState(quint32& flags) override {
        ++Calls;
        const ConnectionAnswer answer = Script.isEmpty() ? Answer : Script.takeFirst();
        if (answer.ErrorNumber != 0) {
            Raise(answer.ErrorNumber);
        }
        if (answer.Flags) {
            flags = *answer.Flags;
        }
        return answer.Connected;
    }

    ConnectionAnswer Answer;
    QList<ConnectionAnswer> Script;
    int Calls = 0;
};

} // namespace horlan
