#pragma once

#include <cstdint>
#include <string>

#include "browser/api/Connection.h"

namespace karvel::browser::api {

// A TCP connection over a non-blocking socket, every wait bounded by the step's deadline.
class TcpConnection : public Connection {
public:
    // Tries each address of host in turn. Throws "Unknown host:" + host when the name does not
    // resolve, "Failed to connect on " + host + ":" + port when no address takes the
    // connection, and the deadline's text when it passes first.
    TcpConnection(const std::string& host, std::uint16_t port, const Deadline& deadline);
    ~TcpConnection() override;
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    void send(std::string_view bytes, const Deadline& deadline) override;
    std::size_t receive(char* buffer, std::size_t capacity, const Deadline& deadline) override;

    // Sends what the socket takes at once (at least one byte); for layers that write in parts.
    std::size_t sendSome(std::string_view bytes, const Deadline& deadline);

private:
    // Waits until the socket is ready for events; fails with the deadline's text.
    void waitFor(short events, const Deadline& deadline) const;

    int socket_ = -1;
};

}  // namespace karvel::browser::api
