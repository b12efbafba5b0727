#include "netstatus/CInterfaces.h"

#include "runtime/RuntimeError.h"

namespace horlan {

CInterfaces::Handle CInterfaces::Add(Handle& objInterface) {
    items_.push_back(std::move(objInterface));
    objInterface.reset();
    return items_.back();
}

std::size_t CInterfaces::Position(qint32 vntIndexKey) const {
    if (vntIndexKey < 1 || vntIndexKey > Count()) {
        Raise(ErrInvalidProcedureCall);
    }
    return static_cast<std::size_t>(vntIndexKey - 1);
}

CInterfaces::Handle CInterfaces::Item(qint32 vntIndexKey) const {
    return items_[Position(vntIndexKey)];
}

qint32 CInterfaces::Count() const {
    return static_cast<qint32>(items_.size());
}

void CInterfaces::Remove(qint32 vntIndexKey) {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(Position(vntIndexKey)));
}

void CInterfaces::Reserve(qint32 count) {
    if (count > 0) {
        items_.reserve(static_cast<std::size_t>(count));
    }
}

} // namespace horlan
