#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// The bytes of a file as read: a block that is not cleared before a read fills it, which for a
// settings file of some megabytes saves touching every byte twice.
class ByteBlock {
public:
    ByteBlock() = default;
    // size bytes, their values undefined until written.
    explicit ByteBlock(std::size_t size)
        : data_(std::make_unique_for_overwrite<char[]>(size)), size_(size) {}
    explicit ByteBlock(std::string_view bytes) : ByteBlock(bytes.size()) {
        std::copy(bytes.begin(), bytes.end(), data_.get());
    }
    ByteBlock(const ByteBlock& other) : ByteBlock(other.view()) {}
    ByteBlock& operator=(const ByteBlock& other) {
        if (this != &other)
            *this = ByteBlock(other.view());
        return *this;
    }
    ByteBlock(ByteBlock&&) noexcept = default;
    ByteBlock& operator=(ByteBlock&&) noexcept = default;

    char* data() noexcept { return data_.get(); }
    std::size_t size() const noexcept { return size_; }
    std::string_view view() const noexcept { return {data_.get(), size_}; }

    // Keeps the first size bytes.
    void shrink(std::size_t size) noexcept { size_ = std::min(size, size_); }
    // Adds bytes at the end (a file that grew while it was read).
    void append(const char* bytes, std::size_t count) {
        ByteBlock grown(size_ + count);
        std::memcpy(grown.data_.get(), data_.get(), size_);
        std::memcpy(grown.data_.get() + size_, bytes, count);
        *this = std::move(grown);
    }

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
};
