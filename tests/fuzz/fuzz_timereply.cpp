#include "Require.h"
#include "runtime/RuntimeError.h"
#include "timesync/TimeReply.h"

#include <cmath>
#include <cstring>

using namespace horlan;

// A reply from a time server (all bytes but the last four) and a half round trip in seconds
// (the last four, as a float): the delay moves the decoded moment by its rounded seconds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    float delay = 0;
    std::memcpy(&delay, data + size - std::min<size_t>(size, 4), std::min<size_t>(size, 4));
    const QByteArray reply = Bytes(data, size - std::min<size_t>(size, 4));
    try {
        const TimeReply undelayed = ComputeTimeReply(reply, 0);
        const TimeReply delayed = ComputeTimeReply(reply, delay);
        const QDate date = delayed.Utc.date();
        Require(undelayed.Utc.secsTo(delayed.Utc) == std::nearbyint(double(delay)) &&
                delayed.Record.wYear == date.year() && delayed.Record.wDay == date.day() &&
                delayed.Record.wSecond == delayed.Utc.time().second());
        GeneralDateText(delayed.Utc, QLocale::c());
    } catch (const RuntimeError& error) {
        Require(error.Number() == ErrOverflow || error.Number() == ErrInvalidProcedureCall);
    }
    return 0;
}
