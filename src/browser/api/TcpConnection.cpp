#include "browser/api/TcpConnection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "browser/api/TransportError.h"

namespace karvel::browser::api {

namespace {

struct AddressListFree {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

// A started connect on a fresh non-blocking socket, or -1 when it failed at once.
int startConnect(const addrinfo& address) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            address.ai_protocol);
    if (fd < 0) {
        return -1;
    }
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0 || errno == EINPROGRESS) {
        return fd;
    }
    ::close(fd);
    return -1;
}

}  // namespace

TcpConnection::TcpConnection(const std::string& host, std::uint16_t port,
                             const Deadline& deadline) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        throw TransportError("Unknown host:" + host);
    }
    const std::unique_ptr<addrinfo, AddressListFree> addresses(found);
    for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
        socket_ = startConnect(*address);
        if (socket_ < 0) {
            continue;
        }
        int error = 0;
        socklen_t length = sizeof error;
        try {
            waitFor(POLLOUT, deadline);
        } catch (const TransportError&) {
            ::close(socket_);
            socket_ = -1;
            throw;
        }
        if (::getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
            // The TLS handshake writes several small records in a row; without this, Nagle's
            // algorithm holds them back for the server's delayed acknowledgement.
            const int on = 1;
            ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return;
        }
        ::close(socket_);
        socket_ = -1;
    }
    throw TransportError("Failed to connect on " + host + ":" + std::to_string(port));
}

TcpConnection::~TcpConnection() {
    if (socket_ >= 0) {
        ::close(socket_);
    }
}

void TcpConnection::waitFor(short events, const Deadline& deadline) const {
    pollfd entry{socket_, events, 0};
    for (;;) {
        const int remaining = deadline.remainingMilliseconds();
        if (remaining == 0) {
            deadline.fail();
        }
        const int ready = ::poll(&entry, 1, remaining);
        if (ready > 0) {
            return;
        }
        if (ready < 0 && errno != EINTR) {
            throw TransportError("Connection failed");
        }
    }
}

std::size_t TcpConnection::sendSome(std::string_view bytes, const Deadline& deadline) {
    for (;;) {
        // MSG_NOSIGNAL: a server that has closed must fail the request, not kill the process
        // with SIGPIPE.
        const ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent >= 0) {
            return static_cast<std::size_t>(sent);
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            waitFor(POLLOUT, deadline);
        } else if (errno != EINTR) {
            throw TransportError("Connection lost while sending the request");
        }
    }
}

void TcpConnection::send(std::string_view bytes, const Deadline& deadline) {
    while (!bytes.empty()) {
        bytes.remove_prefix(sendSome(bytes, deadline));
    }
}

std::size_t TcpConnection::receive(char* buffer, std::size_t capacity, const Deadline& deadline) {
    for (;;) {
        const ssize_t count = ::recv(socket_, buffer, capacity, 0);
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            waitFor(POLLIN, deadline);
        } else if (errno != EINTR) {
            throw TransportError("Connection lost while receiving the reply");
        }
    }
}

}  // namespace karvel::browser::api
