#pragma once

#include <cstddef>
#include <string_view>

#include "browser/api/ByteSource.h"
#include "browser/api/Deadline.h"

namespace karvel::browser::api {

// An open connection to the server, plain or TLS. Both operations throw TransportError,
// the deadline's own text when it passes.
class Connection {
public:
    virtual ~Connection() = default;

    virtual void send(std::string_view bytes, const Deadline& deadline) = 0;
    // At least one byte, or 0 once the peer has closed.
    virtual std::size_t receive(char* buffer, std::size_t capacity, const Deadline& deadline) = 0;
};

// A connection's bytes as a ByteSource, all read against one deadline.
class ConnectionSource : public ByteSource {
public:
    ConnectionSource(Connection& connection, const Deadline& deadline)
        : connection_(connection), deadline_(deadline) {}

    std::size_t read(char* buffer, std::size_t capacity) override {
        return connection_.receive(buffer, capacity, deadline_);
    }

private:
    Connection& connection_;
    const Deadline& deadline_;
};

}  // namespace karvel::browser::api
