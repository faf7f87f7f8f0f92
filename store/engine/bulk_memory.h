#pragma once
// Large working buffers of the bulk paths (building tags, packing).

#include <cstddef>

namespace postavo::engine {

// Asks the OS to back a large buffer, reserved but not yet written, with huge pages. A bulk
// index build fills hundreds of megabytes of keys and then reads them in sorted order; on
// small pages much of that time goes to page faults and address-translation misses. Only a
// hint: it does nothing for small buffers or where the OS has no such advice.
void adviseLargeBuffer(void* data, std::size_t bytes);

} // namespace postavo::engine
