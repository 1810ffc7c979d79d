#include "browser/api/TlsConnection.h"

#include <mbedtls/error.h>
#include <mbedtls/net_sockets.h>

#include <array>
#include <string_view>

#include "browser/api/TransportError.h"

namespace karvel::browser::api {

namespace {

// Key exchange groups in order of preference. X25519 leads: in this mbed TLS a whole exchange
// on it costs less than on P-256, whose point multiplications get no precomputed tables. The
// NIST curves follow because the list also bounds the curves accepted in certificates.
const std::array<mbedtls_ecp_group_id, 5> kCurves = {
    MBEDTLS_ECP_DP_CURVE25519, MBEDTLS_ECP_DP_SECP256R1, MBEDTLS_ECP_DP_SECP384R1,
    MBEDTLS_ECP_DP_SECP521R1, MBEDTLS_ECP_DP_NONE};

std::string errorText(int result) {
    std::array<char, 256> text{};
    mbedtls_strerror(result, text.data(), text.size());
    return text.data();
}

// mbed TLS's list of verification problems, one per line, as one line.
std::string verifyText(std::uint32_t flags) {
    std::array<char, 512> text{};
    mbedtls_x509_crt_verify_info(text.data(), text.size(), "", flags);
    std::string joined = text.data();
    while (!joined.empty() && joined.back() == '\n') {
        joined.pop_back();
    }
    for (auto at = joined.find('\n'); at != std::string::npos; at = joined.find('\n', at)) {
        joined.replace(at, 1, "; ");
    }
    return joined;
}

bool isRetry(int result) {
    return result == MBEDTLS_ERR_SSL_WANT_READ || result == MBEDTLS_ERR_SSL_WANT_WRITE;
}

}  // namespace

TlsConnection::Contexts::Contexts() {
    mbedtls_entropy_init(&entropy);
    mbedtls_ctr_drbg_init(&random);
    mbedtls_ssl_config_init(&config);
    mbedtls_ssl_init(&ssl);
}

TlsConnection::Contexts::~Contexts() {
    mbedtls_ssl_free(&ssl);
    mbedtls_ssl_config_free(&config);
    mbedtls_ctr_drbg_free(&random);
    mbedtls_entropy_free(&entropy);
}

TlsConnection::TlsConnection(std::unique_ptr<TcpConnection> tcp, const std::string& host,
                             const TrustAnchors& anchors, const Deadline& deadline)
    : tcp_(std::move(tcp)), deadline_(&deadline) {
    int result =
        mbedtls_ctr_drbg_seed(&tls_.random, mbedtls_entropy_func, &tls_.entropy, nullptr, 0);
    if (result == 0) {
        result =
            mbedtls_ssl_config_defaults(&tls_.config, MBEDTLS_SSL_IS_CLIENT,
                                        MBEDTLS_SSL_TRANSPORT_STREAM, MBEDTLS_SSL_PRESET_DEFAULT);
    }
    if (result != 0) {
        fail("TLS set-up failed: ", result);
    }
    // Required is the client default already; said here so no change of default can quietly
    // turn verification off.
    mbedtls_ssl_conf_authmode(&tls_.config, MBEDTLS_SSL_VERIFY_REQUIRED);
    mbedtls_ssl_conf_ca_chain(&tls_.config, anchors.chain(), nullptr);
    mbedtls_ssl_conf_rng(&tls_.config, mbedtls_ctr_drbg_random, &tls_.random);
    mbedtls_ssl_conf_curves(&tls_.config, kCurves.data());
    result = mbedtls_ssl_setup(&tls_.ssl, &tls_.config);
    // Gives both the server name indication and the name the certificate must carry: without
    // it this mbed TLS version skips the name check silently.
    if (result == 0) {
        result = mbedtls_ssl_set_hostname(&tls_.ssl, host.c_str());
    }
    if (result != 0) {
        fail("TLS set-up failed: ", result);
    }
    mbedtls_ssl_set_bio(&tls_.ssl, this, bioSend, bioReceive, nullptr);
    handshake();
}

void TlsConnection::handshake() {
    int result = 0;
    do {
        result = mbedtls_ssl_handshake(&tls_.ssl);
    } while (isRetry(result));
    if (result == MBEDTLS_ERR_X509_CERT_VERIFY_FAILED) {
        throw TransportError("Certificate verification failed: " +
                             verifyText(mbedtls_ssl_get_verify_result(&tls_.ssl)));
    }
    if (result != 0) {
        fail("TLS handshake failed: ", result);
    }
}

void TlsConnection::fail(const std::string& prefix, int result) {
    if (socketError_) {
        throw *socketError_;
    }
    throw TransportError(prefix + errorText(result));
}

int TlsConnection::bioSend(void* self, const unsigned char* bytes, std::size_t length) {
    auto& connection = *static_cast<TlsConnection*>(self);
    try {
        const std::string_view data(reinterpret_cast<const char*>(bytes), length);
        return static_cast<int>(connection.tcp_->sendSome(data, *connection.deadline_));
    } catch (const TransportError& error) {
        connection.socketError_ = error;
        return MBEDTLS_ERR_NET_SEND_FAILED;
    }
}

int TlsConnection::bioReceive(void* self, unsigned char* buffer, std::size_t capacity) {
    auto& connection = *static_cast<TlsConnection*>(self);
    try {
        return static_cast<int>(connection.tcp_->receive(reinterpret_cast<char*>(buffer), capacity,
                                                         *connection.deadline_));
    } catch (const TransportError& error) {
        connection.socketError_ = error;
        return MBEDTLS_ERR_NET_RECV_FAILED;
    }
}

void TlsConnection::send(std::string_view bytes, const Deadline& deadline) {
    deadline_ = &deadline;
    while (!bytes.empty()) {
        const int written = mbedtls_ssl_write(
            &tls_.ssl, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        if (isRetry(written)) {
            continue;
        }
        if (written < 0) {
            fail("TLS error while sending: ", written);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::size_t TlsConnection::receive(char* buffer, std::size_t capacity, const Deadline& deadline) {
    deadline_ = &deadline;
    int count = 0;
    // Records without application data (empty ones, a renegotiation request) make mbed TLS
    // ask to be called again; each call waits against the same deadline.
    do {
        count = mbedtls_ssl_read(&tls_.ssl, reinterpret_cast<unsigned char*>(buffer), capacity);
    } while (isRetry(count));
    // A close_notify and a bare TCP close both end the reply; whether it is complete is for
    // the reply's framing to say.
    if (count == 0 || count == MBEDTLS_ERR_SSL_PEER_CLOSE_NOTIFY ||
        count == MBEDTLS_ERR_SSL_CONN_EOF) {
        return 0;
    }
    if (count < 0) {
        fail("TLS error while receiving: ", count);
    }
    return static_cast<std::size_t>(count);
}

}  // namespace karvel::browser::api
