#include "write_faults.h"

namespace postavo::engine {

namespace {
WriteFaultHook& hookSlot()
{
    static WriteFaultHook hook;
    return hook;
}
} // namespace

void setWriteFaultHook(WriteFaultHook hook) { hookSlot() = std::move(hook); }

int injectedWriteFault(const std::string& path, std::uint64_t offset, std::size_t length)
{
    const WriteFaultHook& hook = hookSlot();
    return hook ? hook(path, offset, length) : 0;
}

} // namespace postavo::engine
