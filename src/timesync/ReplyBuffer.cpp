#include "timesync/ReplyBuffer.h"

#include <algorithm>

namespace horlan {

void ReplyBuffer::Clear() {
    kept_.clear();
    length_ = 0;
}

void ReplyBuffer::Append(const QByteArray& bytes) {
    const qsizetype room = KeptBytes - kept_.size();
    if (room > 0) {
        kept_.append(bytes.constData(), std::min(room, bytes.size()));
    }
    length_ += bytes.size();
}

} // namespace horlan
