#pragma once

#include "netstatus/ConnectionState.h"
#include "runtime/RuntimeError.h"

#include <QList>
#include <optional>

namespace horlan {

// One answer: the return value, the flag word written (none: left unwritten) and, when
// ErrorNumber is not 0, the run-time error raised instead.
struct ConnectionAnswer {
    bool Connected = false;
    std::optional<quint32> Flags;
    int ErrorNumber = 0;
};

// Answers with Script's entries in turn, then with Answer; counts the queries.
struct FakeConnectionState : ConnectionState {
    bool InternetGetConnectedState(quint32& flags) override {
        ++Calls;
        const ConnectionAnswer answer = Script.isEmpty() ? Answer : Script.takeFirst();
        if (answer.ErrorNumber != 0) {
            Raise(answer.ErrorNumber);
        }
        flags = answer.Flags.value_or(flags);
        return answer.Connected;
    }
    ConnectionAnswer Answer;
    QList<ConnectionAnswer> Script;
    int Calls = 0;
};

} // namespace horlan
