// Reading records by number without moving the current record, for grids.
#include "recordengine.h"

#include <cstring>

namespace postavo::engine {

bool Table::readRecord(std::uint32_t recno, std::string& out) const
{
    if (!file_.isOpen() || recno < 1)
        return false;
    out.resize(header_.recordLength);
    if (recno == recno_ && !eof_ && (dirty_ || pendingAppend_)) {
        std::memcpy(out.data(), record_.data(), out.size());
        return true;
    }
    return readRaw(recno, reinterpret_cast<unsigned char*>(out.data()));
}

} // namespace postavo::engine
