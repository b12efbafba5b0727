#include "Require.h"
#include "timesync/NtsKe.h"

using namespace horlan;

// A key establishment reply, read at once and in pieces of one to eight bytes whose sizes
// come from the bytes themselves: both readings agree, and a complete reply has cookies.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = Bytes(data, size);
    NtsKeReplyParser whole, pieces;
    whole.Feed(bytes);
    for (qsizetype at = 0, step = 0; at < bytes.size(); at += step) {
        step = 1 + quint8(bytes[at]) % 8;
        pieces.Feed(QByteArrayView(bytes).sliced(at, std::min(step, bytes.size() - at)));
    }
    using Status = NtsKeReplyParser::Status;
    Require(whole.Close() != Status::NeedMore && pieces.Close() == whole.State() &&
            pieces.Failure() == whole.Failure() && pieces.Code() == whole.Code());
    const NtsKeReply& reply = whole.Reply();
    Require(whole.State() != Status::Done ||
            (!reply.Cookies.isEmpty() && reply.Cookies.size() <= NtsKeMaxCookies &&
             reply.Cookies == pieces.Reply().Cookies && reply.Server == pieces.Reply().Server &&
             reply.Port == pieces.Reply().Port));
    return 0;
}
