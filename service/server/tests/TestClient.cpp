#include "TestClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <stdexcept>

namespace karvel::service::server::testing {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using beast::error_code;
using Stream = beast::ssl_stream<beast::tcp_stream>;

namespace {

constexpr auto kRequestLimit = std::chrono::seconds(30);

// Runs one asynchronous operation to its end or to the time limit, whichever comes first.
template <class Start>
error_code await(asio::io_context& ioc, Stream& stream, std::chrono::milliseconds limit,
                 Start start) {
    error_code result = asio::error::timed_out;
    bool done = false;
    start([&](const error_code& ec, auto&&...) {
        result = ec;
        done = true;
    });
    ioc.restart();
    ioc.run_for(limit);
    if (!done) {
        beast::get_lowest_layer(stream).cancel();
        ioc.restart();
        ioc.run();
        result = asio::error::timed_out;
    }
    return result;
}

asio::ssl::context clientContext(const std::string& caFile) {
    asio::ssl::context tls(asio::ssl::context::tls_client);
    tls.load_verify_file(caFile);
    tls.set_verify_mode(asio::ssl::verify_peer);
    return tls;
}

// Connects to the loopback port and completes a verified TLS handshake for "localhost".
error_code openTls(asio::io_context& ioc, Stream& stream, unsigned short port,
                   std::chrono::milliseconds limit) {
    SSL_set_tlsext_host_name(stream.native_handle(), "localhost");
    stream.set_verify_callback(asio::ssl::host_name_verification("localhost"));
    const tcp::endpoint endpoint(asio::ip::make_address("127.0.0.1"), port);
    if (error_code ec = await(ioc, stream, limit, [&](auto handler) {
            beast::get_lowest_layer(stream).async_connect(endpoint, handler);
        })) {
        return ec;
    }
    return await(ioc, stream, limit, [&](auto handler) {
        stream.async_handshake(asio::ssl::stream_base::client, handler);
    });
}

}  // namespace

nlohmann::json HttpReply::json() const {
    return nlohmann::json::parse(body, nullptr, false);
}

HttpsClient::HttpsClient(unsigned short port, std::string caFile)
    : port_(port), caFile_(std::move(caFile)) {}

HttpReply HttpsClient::get(const std::string& target) const {
    return send("GET", target, "");
}

HttpReply HttpsClient::post(const std::string& target, const std::string& body) const {
    return send("POST", target, body);
}

HttpReply HttpsClient::send(const std::string& method, const std::string& target,
                            const std::string& body) const {
    asio::io_context ioc;
    asio::ssl::context tls = clientContext(caFile_);
    Stream stream(ioc, tls);
    HttpReply reply;
    if (openTls(ioc, stream, port_, kRequestLimit)) {
        return reply;
    }
    http::request<http::string_body> request(http::string_to_verb(method), target, 11);
    request.set(http::field::host, "localhost");
    request.set(http::field::connection, "close");
    if (method == "POST") {
        request.body() = body;
        request.prepare_payload();
    }
    if (await(ioc, stream, kRequestLimit,
              [&](auto handler) { http::async_write(stream, request, handler); })) {
        return reply;
    }
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    if (await(ioc, stream, kRequestLimit,
              [&](auto handler) { http::async_read(stream, buffer, response, handler); })) {
        return reply;
    }
    reply.status = static_cast<int>(response.result_int());
    reply.body = response.body();
    return reply;
}

struct RawTlsConnection::State {
    explicit State(const std::string& caFile) : tls(clientContext(caFile)), stream(ioc, tls) {}
    asio::io_context ioc;
    asio::ssl::context tls;
    Stream stream;
    bool open = false;
};

RawTlsConnection::RawTlsConnection(unsigned short port, const std::string& caFile)
    : state_(std::make_unique<State>(caFile)) {
    state_->open = !openTls(state_->ioc, state_->stream, port, std::chrono::seconds(10));
}

RawTlsConnection::~RawTlsConnection() = default;

bool RawTlsConnection::handshakeDone() const {
    return state_->open;
}

bool RawTlsConnection::write(std::string_view bytes, std::chrono::milliseconds limit) {
    if (!state_->open) {
        return false;
    }
    const error_code ec = await(state_->ioc, state_->stream, limit, [&](auto handler) {
        asio::async_write(state_->stream, asio::buffer(bytes.data(), bytes.size()), handler);
    });
    state_->open = !ec;
    return state_->open;
}

std::string RawTlsConnection::readUntilClosed(std::chrono::milliseconds limit) {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (state_->open) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        char chunk[4096];
        std::size_t got = 0;
        const error_code ec = await(state_->ioc, state_->stream, left, [&](auto handler) {
            state_->stream.async_read_some(asio::buffer(chunk),
                                           [&, handler](const error_code& e, std::size_t n) {
                                               got = n;
                                               handler(e);
                                           });
        });
        received.append(chunk, got);
        if (ec == asio::error::timed_out) {
            break;
        }
        if (ec) {
            state_->open = false;
        }
    }
    return received;
}

bool RawTlsConnection::closedWithin(std::chrono::milliseconds limit) {
    readUntilClosed(limit);
    return !state_->open;
}

IdleTcpConnection::IdleTcpConnection(unsigned short port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ < 0 || ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        throw std::runtime_error("cannot connect to the service");
    }
}

IdleTcpConnection::~IdleTcpConnection() {
    ::close(fd_);
}

bool IdleTcpConnection::closedWithin(std::chrono::milliseconds limit) {
    pollfd waiting{fd_, POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(limit.count())) <= 0) {
        return false;
    }
    char byte = 0;
    return ::recv(fd_, &byte, 1, MSG_DONTWAIT) <= 0;
}

}  // namespace karvel::service::server::testing
