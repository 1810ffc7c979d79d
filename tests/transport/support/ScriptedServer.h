#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace karvel::browser::api::testing {

// How a scripted reply reaches the client.
struct Delivery {
    std::size_t pieceSize = std::string::npos;  // bytes per write; 1 sends a byte at a time
    std::chrono::milliseconds pause{0};         // between writes
    std::chrono::milliseconds holdOpen{0};      // after the reply, before closing
    bool answerAtOnce = false;                  // replies without waiting for a whole request
};

// A plain TCP server on 127.0.0.1 for one connection: it records the request bytes (up to the
// end of the headers and the body "Content-Length" gives) and answers with a scripted reply.
class ScriptedServer {
public:
    explicit ScriptedServer(std::string reply, Delivery delivery = {});
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t port() const { return port_; }
    // The bytes of the request, once the connection is over.
    std::string request();

private:
    void serve();

    std::string reply_;
    Delivery delivery_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::string request_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens, so connecting is refused.
std::uint16_t closedPort();

// Reads one HTTP request from a socket: headers and the body "Content-Length" gives, or
// whatever came before the peer closed or timeout passed.
std::string readRequest(int socket, std::chrono::milliseconds timeout);

// A listening socket on 127.0.0.1 with an ephemeral port, which is stored in port.
int listenOnLoopback(std::uint16_t& port, int backlog = 8);

// A socket whose connection to port on 127.0.0.1 has been started but not waited for.
int connectWithoutWaiting(std::uint16_t port);

}  // namespace karvel::browser::api::testing
