#pragma once

// One entry of the line store. Its bytes are its own, or borrowed from a block that
// many entries share: a file read at once, a text set or rewritten at once. A text of
// millions of lines is then one allocation instead of one per line, and an entry
// costs 24 bytes beside its text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/ReadBuffer.h"

namespace zentabo {

// Bytes that entries borrow; freed with the last of them.
class SharedBytes {
public:
    SharedBytes() = default;
    SharedBytes(const SharedBytes&) = delete;
    SharedBytes& operator=(const SharedBytes&) = delete;
    virtual ~SharedBytes() = default;

    void Borrow() { ++borrowers_; }
    std::size_t borrowers() const { return borrowers_; }
    // No entry reads the bytes before p again: the block may give their pages back
    // to the system.
    virtual void ReleaseBefore(const char* p) { (void)p; }
    static void Return(SharedBytes* block) {
        if (--block->borrowers_ == 0) delete block;
    }

private:
    std::size_t borrowers_ = 0;
};

class SharedString final : public SharedBytes {
public:
    explicit SharedString(std::string&& s) : bytes(std::move(s)) {}
    void ReleaseBefore(const char* p) override;
    std::string bytes;

private:
    std::size_t released_ = 0;
};

class SharedReadBuffer final : public SharedBytes {
public:
    void ReleaseBefore(const char* p) override {
        buffer.ReleaseBefore(static_cast<std::size_t>(p - buffer.data()));
    }
    ReadBuffer buffer;
};

// Holds a new block while entries are made from it, so that it is freed if none are.
class BlockHold {
public:
    explicit BlockHold(SharedBytes* block) : block_(block) { block_->Borrow(); }
    ~BlockHold() { SharedBytes::Return(block_); }
    BlockHold(const BlockHold&) = delete;
    BlockHold& operator=(const BlockHold&) = delete;
    SharedBytes* get() const { return block_; }

private:
    SharedBytes* block_;
};

class LineEntry {
public:
    LineEntry() = default;
    // Its own copy of s.
    explicit LineEntry(std::string_view s) { Own(s); }
    // Borrows size bytes at data, which lie in block.
    LineEntry(SharedBytes* block, const char* data, std::size_t size)
        : data_(data), block_(block), size_(static_cast<uint32_t>(size)) {
        if (size > UINT32_MAX) TooLong();
        block_->Borrow();
    }
    LineEntry(LineEntry&& other) noexcept { Take(other); }
    LineEntry& operator=(LineEntry&& other) noexcept {
        if (this != &other) {
            Drop();
            Take(other);
        }
        return *this;
    }
    ~LineEntry() { Drop(); }

    // Replaces the bytes with a copy of s, which may be this entry's own bytes.
    void Assign(std::string_view s);

    std::string_view view() const { return {data_, size_}; }
    const char* data() const { return data_; }
    // The block the bytes are borrowed from; null for an entry's own bytes.
    SharedBytes* block() const { return block_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

private:
    [[noreturn]] static void TooLong();
    void Own(std::string_view s);
    void Drop() noexcept;
    void Take(LineEntry& other) noexcept {
        data_ = other.data_;
        block_ = other.block_;
        size_ = other.size_;
        other.data_ = nullptr;
        other.block_ = nullptr;
        other.size_ = 0;
    }

    const char* data_ = nullptr;
    SharedBytes* block_ = nullptr;  // null: data_ is this entry's own (or null when empty)
    uint32_t size_ = 0;
};

}  // namespace zentabo
