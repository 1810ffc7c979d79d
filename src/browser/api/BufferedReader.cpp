#include "browser/api/BufferedReader.h"

#include <algorithm>

#include "browser/api/TransportError.h"

namespace karvel::browser::api {

namespace {

constexpr std::size_t kReadSize = std::size_t{16} * 1024;

[[noreturn]] void throwTruncated() {
    throw TransportError("Connection closed before the end of the reply");
}

}  // namespace

bool BufferedReader::fill() {
    // Drop what has been consumed once it is most of the buffer, so a long reply read in
    // small pieces does not grow the buffer without bound.
    if (position_ > 0 && position_ >= buffer_.size() / 2) {
        buffer_.erase(0, position_);
        position_ = 0;
    }
    const std::size_t oldSize = buffer_.size();
    buffer_.resize(oldSize + kReadSize);
    const std::size_t count = source_.read(buffer_.data() + oldSize, kReadSize);
    buffer_.resize(oldSize + std::min(count, kReadSize));
    return count > 0;
}

std::optional<std::string> BufferedReader::readLine(std::size_t limit) {
    std::size_t scanned = 0;  // bytes already known to hold no line feed
    for (;;) {
        const std::size_t window = std::min(buffered(), limit);
        const std::size_t found = buffer_.find('\n', position_ + scanned);
        if (found != std::string::npos && found - position_ < window) {
            std::string line = buffer_.substr(position_, found - position_);
            position_ = found + 1;
            return line;
        }
        if (buffered() >= limit) {
            return std::nullopt;
        }
        scanned = buffered();
        if (!fill()) {
            throwTruncated();
        }
    }
}

void BufferedReader::readExact(std::size_t count, std::string& out) {
    while (count > 0) {
        if (buffered() == 0 && !fill()) {
            throwTruncated();
        }
        const std::size_t take = std::min(count, buffered());
        out.append(buffer_, position_, take);
        position_ += take;
        count -= take;
    }
}

bool BufferedReader::readToClose(std::size_t limit, std::string& out) {
    for (;;) {
        const std::size_t take = std::min(buffered(), limit + 1 - std::min(out.size(), limit + 1));
        out.append(buffer_, position_, take);
        position_ += take;
        if (out.size() > limit) {
            return false;
        }
        if (!fill()) {
            return true;
        }
    }
}

bool BufferedReader::atEnd() {
    return buffered() == 0 && !fill();
}

}  // namespace karvel::browser::api
