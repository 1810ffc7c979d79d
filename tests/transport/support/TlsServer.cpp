#include "support/TlsServer.h"

#include <mbedtls/ctr_drbg.h>
#include <mbedtls/entropy.h>
#include <mbedtls/net_sockets.h>
#include <mbedtls/pk.h>
#include <mbedtls/ssl.h>
#include <mbedtls/x509_crt.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "support/ScriptedServer.h"

namespace karvel::browser::api::testing {

namespace {

constexpr std::chrono::seconds kServeLimit{20};

// Every mbed TLS context of one server connection, freed together.
struct ServerContexts {
    ServerContexts() {
        mbedtls_entropy_init(&entropy);
        mbedtls_ctr_drbg_init(&random);
        mbedtls_x509_crt_init(&certificate);
        mbedtls_pk_init(&key);
        mbedtls_ssl_config_init(&config);
        mbedtls_ssl_init(&ssl);
        mbedtls_net_init(&client);
    }
    ~ServerContexts() {
        mbedtls_net_free(&client);
        mbedtls_ssl_free(&ssl);
        mbedtls_ssl_config_free(&config);
        mbedtls_pk_free(&key);
        mbedtls_x509_crt_free(&certificate);
        mbedtls_ctr_drbg_free(&random);
        mbedtls_entropy_free(&entropy);
    }
    ServerContexts(const ServerContexts&) = delete;
    ServerContexts& operator=(const ServerContexts&) = delete;

    mbedtls_entropy_context entropy;
    mbedtls_ctr_drbg_context random;
    mbedtls_x509_crt certificate;
    mbedtls_pk_context key;
    mbedtls_ssl_config config;
    mbedtls_ssl_context ssl;
    mbedtls_net_context client;
};

int recordServerName(void* target, mbedtls_ssl_context*, const unsigned char* name,
                     std::size_t length) {
    static_cast<std::string*>(target)->assign(reinterpret_cast<const char*>(name), length);
    return 0;
}

// mbedtls_net_send without SIGPIPE: a client that gives up mid-handshake must not end the test.
int sendWithoutSignal(void* context, const unsigned char* bytes, std::size_t length) {
    const int fd = static_cast<mbedtls_net_context*>(context)->fd;
    const ssize_t sent = ::send(fd, bytes, length, MSG_NOSIGNAL);
    return sent < 0 ? MBEDTLS_ERR_NET_SEND_FAILED : static_cast<int>(sent);
}

void writeAll(mbedtls_ssl_context& ssl, const std::string& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const int written = mbedtls_ssl_write(
            &ssl, reinterpret_cast<const unsigned char*>(bytes.data()) + at, bytes.size() - at);
        if (written <= 0) {
            return;
        }
        at += static_cast<std::size_t>(written);
    }
}

// The request: everything up to the end of its headers (the tests send no body over TLS).
std::string readRequest(mbedtls_ssl_context& ssl) {
    std::string request;
    unsigned char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int count = mbedtls_ssl_read(&ssl, buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        request.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
    }
    return request;
}

}  // namespace

TlsServer::TlsServer(const std::string& certificateFile, const std::string& keyFile,
                     std::string reply, TlsBehaviour behaviour)
    : certificateFile_(certificateFile),
      keyFile_(keyFile),
      reply_(std::move(reply)),
      behaviour_(behaviour) {
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { serve(); });
}

TlsServer::~TlsServer() {
    stopping_ = true;
    join();
    ::close(listener_);
}

void TlsServer::join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::string TlsServer::serverName() {
    join();
    return serverName_;
}

std::string TlsServer::request() {
    join();
    return request_;
}

void TlsServer::serve() {
    pollfd entry{listener_, POLLIN, 0};
    const auto giveUp = std::chrono::steady_clock::now() + kServeLimit;
    while (!stopping_ && ::poll(&entry, 1, 50) <= 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return;
        }
    }
    if (stopping_) {
        return;
    }
    ServerContexts tls;
    tls.client.fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (tls.client.fd < 0 ||
        mbedtls_ctr_drbg_seed(&tls.random, mbedtls_entropy_func, &tls.entropy, nullptr, 0) != 0 ||
        mbedtls_x509_crt_parse_file(&tls.certificate, certificateFile_.c_str()) != 0 ||
        mbedtls_pk_parse_keyfile(&tls.key, keyFile_.c_str(), nullptr) != 0 ||
        mbedtls_ssl_config_defaults(&tls.config, MBEDTLS_SSL_IS_SERVER,
                                    MBEDTLS_SSL_TRANSPORT_STREAM,
                                    MBEDTLS_SSL_PRESET_DEFAULT) != 0) {
        return;
    }
    mbedtls_ssl_conf_rng(&tls.config, mbedtls_ctr_drbg_random, &tls.random);
    mbedtls_ssl_conf_own_cert(&tls.config, &tls.certificate, &tls.key);
    mbedtls_ssl_conf_sni(&tls.config, recordServerName, &serverName_);
    // A client that stalls must not hold the test: reads give up after a while.
    mbedtls_ssl_conf_read_timeout(&tls.config, 5000);
    if (mbedtls_ssl_setup(&tls.ssl, &tls.config) != 0) {
        return;
    }
    mbedtls_ssl_set_bio(&tls.ssl, &tls.client, sendWithoutSignal, nullptr,
                        mbedtls_net_recv_timeout);
    if (mbedtls_ssl_handshake(&tls.ssl) != 0) {
        return;
    }
    request_ = readRequest(tls.ssl);
    if (behaviour_ == TlsBehaviour::AlertMidReply) {
        writeAll(tls.ssl, reply_.substr(0, reply_.size() / 2));
        mbedtls_ssl_send_alert_message(&tls.ssl, MBEDTLS_SSL_ALERT_LEVEL_FATAL,
                                       MBEDTLS_SSL_ALERT_MSG_INTERNAL_ERROR);
        return;
    }
    writeAll(tls.ssl, reply_);
    mbedtls_ssl_close_notify(&tls.ssl);
}

}  // namespace karvel::browser::api::testing
