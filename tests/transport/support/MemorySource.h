#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "browser/api/ByteSource.h"
#include "browser/api/TransportError.h"

namespace karvel::browser::api::testing {

// Bytes held in memory, handed out at most pieceSize at a time, so a reply can be fed whole
// or split at every possible point. After the bytes, the source reports a close, or throws
// failureAtEnd when it is set (a connection that broke).
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string bytes, std::size_t pieceSize = std::string::npos,
                          std::string failureAtEnd = "")
        : bytes_(std::move(bytes)), pieceSize_(pieceSize), failureAtEnd_(std::move(failureAtEnd)) {}

    std::size_t read(char* buffer, std::size_t capacity) override {
        const std::size_t count = std::min({capacity, pieceSize_, bytes_.size() - position_});
        if (count == 0 && !failureAtEnd_.empty()) {
            throw TransportError(failureAtEnd_);
        }
        std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        return count;
    }

private:
    std::string bytes_;
    std::size_t pieceSize_;
    std::string failureAtEnd_;
    std::size_t position_ = 0;
};

// A reply that never ends: a prefix, then the same byte for ever.
class EndlessSource : public ByteSource {
public:
    explicit EndlessSource(std::string prefix) : prefix_(std::move(prefix)) {}

    std::size_t read(char* buffer, std::size_t capacity) override {
        const std::size_t fromPrefix = std::min(capacity, prefix_.size() - position_);
        std::memcpy(buffer, prefix_.data() + position_, fromPrefix);
        position_ += fromPrefix;
        std::memset(buffer + fromPrefix, 'x', capacity - fromPrefix);
        delivered_ += capacity;
        return capacity;
    }

    std::size_t delivered() const { return delivered_; }

private:
    std::string prefix_;
    std::size_t position_ = 0;
    std::size_t delivered_ = 0;
};

}  // namespace karvel::browser::api::testing
