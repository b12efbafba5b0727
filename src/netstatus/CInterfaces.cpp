#include "netstatus/CInterfaces.h"

#include "runtime/RuntimeError.h"

namespace horlan {

CInterfaces::Handle CInterfaces::Add(Handle& record) {
    items_.push_back(std::move(record));
    record.reset();
    return items_.back();
}

std::size_t CInterfaces::Position(qint32 position) const {
    if (position < 1 || position > Count()) {
        Raise(ErrInvalidProcedureCall);
    }
    return static_cast<std::size_t>(position - 1);
}

CInterfaces::Handle CInterfaces::Item(qint32 position) const {
    return items_[Position(position)];
}

qint32 CInterfaces::Count() const {
    return static_cast<qint32>(items_.size());
}

void CInterfaces::Remove(qint32 position) {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(Position(position)));
}

void CInterfaces::Reserve(qint32 count) {
    if (count > 0) {
        items_.reserve(static_cast<std::size_t>(count));
    }
}

} // namespace horlan
