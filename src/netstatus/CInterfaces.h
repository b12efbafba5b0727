#pragma once

#include "netstatus/CInterface.h"

#include <memory>
#include <vector>

namespace horlan {

// An ordered collection of interface records; positions count from 1 in the order the
// records were added.
class CInterfaces {
public:
    using Handle = std::shared_ptr<CInterface>;

    // Appends the caller's record and returns it, leaving the caller's handle empty so that
    // the next row gets a record of its own.
    Handle Add(Handle& record);

    // The record at 1-based position `position`; raises ErrInvalidProcedureCall outside
    // 1..Count().
    Handle Item(qint32 position) const;

    qint32 Count() const;

    // Removes the record at 1-based position `position`; later records move up by one.
    // Raises ErrInvalidProcedureCall outside 1..Count().
    void Remove(qint32 position);

    // Room for `count` records, so that filling the collection allocates once.
    void Reserve(qint32 count);

    // Iteration yields the records in order.
    std::vector<Handle>::const_iterator begin() const { return items_.begin(); }
    std::vector<Handle>::const_iterator end() const { return items_.end(); }

private:
    std::size_t Position(qint32 position) const;

    std::vector<Handle> items_;
};

} // namespace horlan
