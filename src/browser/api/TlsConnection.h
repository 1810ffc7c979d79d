#pragma once

#include <mbedtls/ctr_drbg.h>
#include <mbedtls/entropy.h>
#include <mbedtls/ssl.h>

#include <memory>
#include <optional>
#include <string>

#include "browser/api/TcpConnection.h"
#include "browser/api/TrustAnchors.h"

namespace karvel::browser::api {

// TLS over a TCP connection with mbed TLS. The server's certificate must chain to the trust
// anchors and name the host; the host also goes out as the server name indication.
class TlsConnection : public Connection {
public:
    // Performs the handshake. Throws TransportError: "Certificate verification failed: ..."
    // when the certificate is not trusted, "TLS handshake failed: ..." for other failures, or
    // the deadline's text.
    TlsConnection(std::unique_ptr<TcpConnection> tcp, const std::string& host,
                  const TrustAnchors& anchors, const Deadline& deadline);
    ~TlsConnection() override = default;
    TlsConnection(const TlsConnection&) = delete;
    TlsConnection& operator=(const TlsConnection&) = delete;

    void send(std::string_view bytes, const Deadline& deadline) override;
    std::size_t receive(char* buffer, std::size_t capacity, const Deadline& deadline) override;

private:
    // mbed TLS calls these through C, so they keep a TransportError aside instead of throwing.
    static int bioSend(void* self, const unsigned char* bytes, std::size_t length);
    static int bioReceive(void* self, unsigned char* buffer, std::size_t capacity);

    void handshake();
    // Throws what the socket layer kept aside, else prefix + mbed TLS's text for result.
    [[noreturn]] void fail(const std::string& prefix, int result);

    // The mbed TLS contexts, freed together however the constructor ends.
    struct Contexts {
        Contexts();
        ~Contexts();
        Contexts(const Contexts&) = delete;
        Contexts& operator=(const Contexts&) = delete;

        mbedtls_entropy_context entropy;
        mbedtls_ctr_drbg_context random;
        mbedtls_ssl_config config;
        mbedtls_ssl_context ssl;
    };

    std::unique_ptr<TcpConnection> tcp_;
    const Deadline* deadline_ = nullptr;  // the step under way, for the callbacks
    std::optional<TransportError> socketError_;
    Contexts tls_;
};

}  // namespace karvel::browser::api
