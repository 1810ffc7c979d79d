#include "support/ScriptedServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace karvel::browser::api::testing {

namespace {

constexpr std::chrono::seconds kServeLimit{20};

bool waitReadable(int socket, std::chrono::milliseconds timeout) {
    pollfd entry{socket, POLLIN, 0};
    return ::poll(&entry, 1, static_cast<int>(timeout.count())) > 0;
}

std::size_t expectedLength(const std::string& request) {
    const auto end = request.find("\r\n\r\n");
    if (end == std::string::npos) {
        return std::string::npos;
    }
    std::size_t length = end + 4;
    const auto field = request.find("Content-Length: ");
    if (field != std::string::npos && field < end) {
        length += std::stoul(request.substr(field + 16));
    }
    return length;
}

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

}  // namespace

int listenOnLoopback(std::uint16_t& port, int backlog) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener, backlog) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    port = ntohs(address.sin_port);
    return listener;
}

int connectWithoutWaiting(std::uint16_t port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(port);
    // Non-blocking, so this only starts the handshake (EINPROGRESS), which is all it needs.
    (void)::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return socket;
}

std::uint16_t closedPort() {
    std::uint16_t port = 0;
    ::close(listenOnLoopback(port));
    return port;
}

std::string readRequest(int socket, std::chrono::milliseconds timeout) {
    std::string request;
    char buffer[4096];
    while (request.size() < expectedLength(request) && waitReadable(socket, timeout)) {
        const ssize_t count = ::recv(socket, buffer, sizeof buffer, 0);
        if (count <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(count));
    }
    return request;
}

ScriptedServer::ScriptedServer(std::string reply, Delivery delivery)
    : reply_(std::move(reply)), delivery_(delivery) {
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { serve(); });
}

ScriptedServer::~ScriptedServer() {
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    ::close(listener_);
}

std::string ScriptedServer::request() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return request_;
}

void ScriptedServer::serve() {
    // Waits for the client in short steps, so a test that never connects still ends.
    const auto giveUp = std::chrono::steady_clock::now() + kServeLimit;
    while (!stopping_ && !waitReadable(listener_, std::chrono::milliseconds(50))) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return;
        }
    }
    if (stopping_) {
        return;
    }
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
        return;
    }
    const int on = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (!delivery_.answerAtOnce) {
        request_ = readRequest(client, std::chrono::seconds(5));
    }
    for (std::size_t at = 0; at < reply_.size() && !stopping_;) {
        const std::size_t count = std::min(delivery_.pieceSize, reply_.size() - at);
        if (::send(client, reply_.data() + at, count, MSG_NOSIGNAL) <= 0) {
            break;
        }
        at += count;
        std::this_thread::sleep_for(delivery_.pause);
    }
    // Holds the connection until the time is up or the client has gone.
    const auto closeAt = std::chrono::steady_clock::now() + delivery_.holdOpen;
    char scratch[256];
    while (!stopping_ && std::chrono::steady_clock::now() < closeAt) {
        if (waitReadable(client, std::chrono::milliseconds(50)) &&
            ::recv(client, scratch, sizeof scratch, 0) <= 0) {
            break;
        }
    }
    ::close(client);
}

}  // namespace karvel::browser::api::testing
