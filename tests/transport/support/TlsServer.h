#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace karvel::browser::api::testing {

// What the TLS server does once the handshake is over.
enum class TlsBehaviour {
    Answer,         // reads the request and sends the reply, then close_notify
    AlertMidReply,  // sends the first half of the reply, then a fatal alert
};

// An mbed TLS server on 127.0.0.1 for one connection, with a certificate and key from PEM
// files. It records the server name the client sent and the request it received.
class TlsServer {
public:
    TlsServer(const std::string& certificateFile, const std::string& keyFile, std::string reply,
              TlsBehaviour behaviour = TlsBehaviour::Answer);
    ~TlsServer();
    TlsServer(const TlsServer&) = delete;
    TlsServer& operator=(const TlsServer&) = delete;

    std::uint16_t port() const { return port_; }
    // Both once the connection is over.
    std::string serverName();
    std::string request();

private:
    void serve();
    void join();

    std::string certificateFile_;
    std::string keyFile_;
    std::string reply_;
    TlsBehaviour behaviour_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::string serverName_;
    std::string request_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace karvel::browser::api::testing
