#pragma once
// A way for tests to make the engine's file writes fail as a full disk or a file-size limit
// would, so that every write path can be shown to leave the files as they were.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace postavo::engine {

// Asked before each write to a table, memo or index file: returns an errno value (ENOSPC,
// EFBIG, EIO) to make that write fail with it, or 0 to let it through. Empty: no faults.
using WriteFaultHook = std::function<int(const std::string& path, std::uint64_t offset, std::size_t length)>;
void setWriteFaultHook(WriteFaultHook hook);

// 0 unless a hook is set and asks for a failure.
int injectedWriteFault(const std::string& path, std::uint64_t offset, std::size_t length);

} // namespace postavo::engine
