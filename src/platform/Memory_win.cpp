#include "platform/Memory.h"

namespace Memory {

std::shared_ptr<char> largeBlock(std::size_t size) {
    // Large pages need a privilege that players do not have: an ordinary block.
    const std::shared_ptr<char[]> block(new char[size]);
    return std::shared_ptr<char>(block, block.get());
}

void prefault(void*, std::size_t) noexcept {}

} // namespace Memory
