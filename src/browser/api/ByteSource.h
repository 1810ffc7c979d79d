#pragma once

#include <cstddef>

namespace karvel::browser::api {

// The seam between reading a reply and the connection it comes from, so the reply parser
// runs as well on bytes held in memory as on a socket.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Reads at least one and at most capacity bytes into buffer; returns 0 once the peer has
    // closed. Throws TransportError when the bytes cannot be had (time-out, reset, TLS alert).
    virtual std::size_t read(char* buffer, std::size_t capacity) = 0;
};

}  // namespace karvel::browser::api
