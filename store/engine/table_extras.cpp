// Grids read records without moving; editors post without waiting for the disk.
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

void Table::postRecord()
{
    requireWritable();
    const bool changed = dirty_;
    post();
    try {
        flushIndexes(false);
    } catch (...) {
        if (changed)
            undoLastPost();
        throw;
    }
}

} // namespace postavo::engine
