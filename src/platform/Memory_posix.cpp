#include "platform/Memory.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace Memory {

std::shared_ptr<char> largeBlock(std::size_t size) {
    // Large pages come only for whole aligned stretches of 2 MiB: the block starts at one.
    constexpr std::size_t LargePage = 2 * 1024 * 1024;
    const std::size_t mapped = size + LargePage;
    void* area =
        ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(area);
    auto* block = reinterpret_cast<char*>((start + LargePage - 1) & ~(LargePage - 1));
    ::madvise(block, size, MADV_HUGEPAGE);
    ::madvise(block, size, MADV_POPULATE_WRITE);
    return std::shared_ptr<char>(block, [area, mapped](char*) { ::munmap(area, mapped); });
}

void prefault(void* data, std::size_t size) noexcept {
    // Small stretches are not worth a system call.
    const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    if (size < 16 * pageSize)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data) & ~(pageSize - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data) + size;
    ::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}

} // namespace Memory
