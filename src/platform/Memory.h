#pragma once

#include <cstddef>
#include <memory>

// Memory for some megabytes of file bytes and line positions, filled right after it is taken.
// Where the system offers it (Linux), the pages are mapped in one step rather than one fault at
// a time as they are first written: on virtual machines a page fault is dear, and the five
// settings files at their largest take thousands of small pages.
namespace Memory {

// A block of size bytes, their values undefined, in large pages where the system offers them:
// one block of some megabytes then takes a few pages where a block for each file would take
// thousands. Throws std::bad_alloc.
std::shared_ptr<char> largeBlock(std::size_t size);

// Maps the pages of memory just taken, before it is written; nothing where the system cannot.
void prefault(void* data, std::size_t size) noexcept;

} // namespace Memory
