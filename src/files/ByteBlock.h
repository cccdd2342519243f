#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// The bytes of a file as read: a block that is not cleared before a read fills it, which for a
// settings file of some megabytes saves touching every byte twice. A block may be a part of a
// larger one that several files were read into; it keeps that one alive. Copies share the bytes,
// which nothing changes once they have been read.
class ByteBlock {
public:
    ByteBlock() = default;
    // size bytes of its own, their values undefined until written.
    explicit ByteBlock(std::size_t size) : size_(size) {
        const std::shared_ptr<char[]> whole(new char[size]);
        data_ = std::shared_ptr<char>(whole, whole.get());
    }
    // size bytes at part, which shares ownership of the block it lies in.
    ByteBlock(std::shared_ptr<char> part, std::size_t size) : data_(std::move(part)), size_(size) {}
    explicit ByteBlock(std::string_view bytes) : ByteBlock(bytes.size()) {
        std::copy(bytes.begin(), bytes.end(), data());
    }

    char* data() noexcept { return data_.get(); }
    std::size_t size() const noexcept { return size_; }
    std::string_view view() const noexcept { return {data_.get(), size_}; }

    // Keeps the first size bytes.
    void shrink(std::size_t size) noexcept { size_ = std::min(size, size_); }
    // Adds bytes at the end (a file that grew while it was read), in a block of its own.
    void append(const char* bytes, std::size_t count) {
        ByteBlock grown(size_ + count);
        std::memcpy(grown.data(), data_.get(), size_);
        std::memcpy(grown.data() + size_, bytes, count);
        *this = std::move(grown);
    }

private:
    std::shared_ptr<char> data_;
    std::size_t size_ = 0;
};
