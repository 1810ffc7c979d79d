#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "browser/api/ByteSource.h"

namespace karvel::browser::api {

// Lines and runs of bytes taken from a ByteSource, with a bound on what may be buffered so
// that a peer never makes the reader hold more than the caller allows.
class BufferedReader {
public:
    explicit BufferedReader(ByteSource& source) : source_(source) {}

    // The next line without its line feed (a carriage return before it is kept), or nothing
    // when the line is longer than limit bytes with its line feed. Throws TransportError when
    // the peer closes before the line feed.
    std::optional<std::string> readLine(std::size_t limit);

    // Appends exactly count bytes to out. Throws TransportError when the peer closes first.
    void readExact(std::size_t count, std::string& out);

    // Appends everything up to the peer's close to out; returns false, having read at most
    // limit + 1 bytes, when there are more than limit.
    bool readToClose(std::size_t limit, std::string& out);

    // True when the peer has closed and every byte has been taken.
    bool atEnd();

private:
    std::size_t buffered() const { return buffer_.size() - position_; }
    // Reads more bytes from the source; false once the peer has closed.
    bool fill();

    ByteSource& source_;
    std::string buffer_;
    std::size_t position_ = 0;
};

}  // namespace karvel::browser::api
