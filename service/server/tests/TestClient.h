#pragma once

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace karvel::service::server::testing {

struct HttpReply {
    int status = 0;  // 0 when no reply arrived
    std::string body;
    nlohmann::json json() const;
};

// A client of the service under test: one new TLS connection per request, like the game
// client, verifying the certificate against the test CA for the name "localhost".
class HttpsClient {
public:
    HttpsClient(unsigned short port, std::string caFile);

    HttpReply get(const std::string& target) const;
    HttpReply post(const std::string& target, const std::string& body) const;
    HttpReply send(const std::string& method, const std::string& target,
                   const std::string& body) const;

private:
    unsigned short port_;
    std::string caFile_;
};

// A TLS connection driven byte by byte, for requests no well-behaved client would send.
// Every call gives up after its time limit, so a test never hangs.
class RawTlsConnection {
public:
    RawTlsConnection(unsigned short port, const std::string& caFile);
    ~RawTlsConnection();
    RawTlsConnection(const RawTlsConnection&) = delete;
    RawTlsConnection& operator=(const RawTlsConnection&) = delete;

    bool handshakeDone() const;
    // False once the service has closed or reset the connection.
    bool write(std::string_view bytes, std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Everything the service sends until it closes the connection or the time is up.
    std::string readUntilClosed(std::chrono::milliseconds limit);
    // Whether the service closed the connection within the time.
    bool closedWithin(std::chrono::milliseconds limit);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// A plain TCP connection that never starts its TLS handshake.
class IdleTcpConnection {
public:
    explicit IdleTcpConnection(unsigned short port);
    ~IdleTcpConnection();
    IdleTcpConnection(const IdleTcpConnection&) = delete;
    IdleTcpConnection& operator=(const IdleTcpConnection&) = delete;

    bool closedWithin(std::chrono::milliseconds limit);

private:
    int fd_ = -1;
};

}  // namespace karvel::service::server::testing
