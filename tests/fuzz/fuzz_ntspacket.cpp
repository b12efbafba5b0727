#include "Require.h"
#include "timesync/NtsKe.h"
#include "timesync/NtsPacket.h"

using namespace horlan;

// An NTS reply checked under a fixed key and identifier. Then the input as a reply's header
// and cookie, sealed: that verifies and gives the cookie back, and with any byte changed it
// does not verify.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QByteArray key(NtsKeyBytes, '\x5a');
    static const QByteArray identifier(NtsUniqueIdBytes, '\x11');
    const QByteArray bytes = Bytes(data, size);
    const NtsReplyCheck check = CheckNtsReply(bytes, identifier, key);
    Require(!check.Authentic || check.UniqueIdMatches);
    if (size <= 48 || size > 48 + NtsMaxCookieBytes) {
        return 0;
    }
    const QByteArray cookie = bytes.sliced(48);
    QByteArray reply = bytes.first(48) + NtpExtensionField(NtsUniqueIdentifier, identifier);
    Require(AppendNtsAuthenticator(reply, NtpExtensionField(NtsCookie, cookie), key));
    const NtsReplyCheck sealed = CheckNtsReply(reply, identifier, key);
    Require(sealed.Authentic && sealed.Cookies.size() == 1 && sealed.Cookies[0].startsWith(cookie));
    const qsizetype at = quint8(bytes[48]) * reply.size() / 256;
    reply[at] = char(reply[at] ^ (bytes[0] | 1));
    Require(!CheckNtsReply(reply, identifier, key).Authentic);
    return 0;
}
