#include "HttpServer.h"

#include <atomic>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace karvel::service::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using beast::error_code;

namespace {

using PlainStream = beast::tcp_stream;
using TlsStream = beast::ssl_stream<beast::tcp_stream>;

// Answers for requests that never reach the handler.
HttpResponse refusalFor(const error_code& ec) {
    if (ec == http::error::body_limit) {
        return {413, R"({"message":"The request body is too large"})"};
    }
    if (ec == http::error::header_limit || ec == http::error::buffer_overflow) {
        return {431, R"({"message":"The request header is too large"})"};
    }
    return {400, R"({"message":"Malformed HTTP request"})"};
}

bool isHttpParseError(const error_code& ec) {
    return ec.category() == make_error_code(http::error::bad_target).category() &&
           ec != http::error::end_of_stream && ec != http::error::partial_message;
}

std::string remoteOf(const tcp::socket& socket) {
    error_code ec;
    const tcp::endpoint peer = socket.remote_endpoint(ec);
    return ec ? std::string("-") : peer.address().to_string() + ":" + std::to_string(peer.port());
}

}  // namespace

// What sessions need from the server, shared so that it outlives every session.
class SessionBase {
public:
    virtual ~SessionBase() = default;
    // Closes the connection if it is only waiting for a request; one being answered finishes.
    virtual void stopIfIdle() = 0;
};

class ServerCore : public std::enable_shared_from_this<ServerCore> {
public:
    ServerCore(HttpServerConfig config, RequestHandler handler, AccessLogger logger)
        : config_(std::move(config)),
          handler_(std::move(handler)),
          logger_(std::move(logger)),
          acceptor_(ioc_),
          signals_(ioc_, SIGINT, SIGTERM) {
        if (!config_.tlsCertFile.empty() && !config_.tlsKeyFile.empty()) {
            tls_.emplace(asio::ssl::context::tls_server);
            tls_->set_options(asio::ssl::context::default_workarounds |
                              asio::ssl::context::no_sslv2 | asio::ssl::context::no_sslv3 |
                              asio::ssl::context::no_tlsv1 | asio::ssl::context::no_tlsv1_1 |
                              asio::ssl::context::single_dh_use);
            tls_->use_certificate_chain_file(config_.tlsCertFile);
            tls_->use_private_key_file(config_.tlsKeyFile, asio::ssl::context::pem);
        }
        const tcp::endpoint endpoint(asio::ip::make_address(config_.bindAddress), config_.port);
        acceptor_.open(endpoint.protocol());
        acceptor_.set_option(asio::socket_base::reuse_address(true));
        acceptor_.bind(endpoint);
        acceptor_.listen(asio::socket_base::max_listen_connections);
    }

    void run() {
        signals_.async_wait([self = shared_from_this()](const error_code& ec, int) {
            if (!ec) {
                self->beginStop();
            }
        });
        accept();
        std::vector<std::thread> pool;
        for (std::size_t i = 1; i < std::max<std::size_t>(config_.threads, 1); ++i) {
            pool.emplace_back([this] { ioc_.run(); });
        }
        ioc_.run();
        for (auto& thread : pool) {
            thread.join();
        }
    }

    void beginStop() {
        asio::post(acceptor_.get_executor(), [self = shared_from_this()] {
            if (self->stopping_.exchange(true)) {
                return;
            }
            error_code ignored;
            self->acceptor_.close(ignored);
            self->acceptRetry_.cancel();
            self->signals_.cancel(ignored);
            // Collected first: a session released here must not leave() under this lock.
            std::vector<std::shared_ptr<SessionBase>> open;
            {
                const std::lock_guard lock(self->sessionsMutex_);
                for (auto& [key, session] : self->sessions_) {
                    if (auto alive = session.lock()) {
                        open.push_back(std::move(alive));
                    }
                }
            }
            for (const auto& session : open) {
                session->stopIfIdle();
            }
        });
    }

    bool stopping() const { return stopping_.load(); }
    const HttpServerConfig& config() const { return config_; }

    HttpResponse handle(const HttpRequest& request) const {
        try {
            return handler_(request);
        } catch (const std::exception&) {
            return {500, R"({"message":"The service failed to handle the request"})"};
        }
    }

    void log(const AccessRecord& record) const {
        if (logger_) {
            logger_(record);
        }
    }

    void enroll(SessionBase* key, const std::shared_ptr<SessionBase>& session) {
        const std::lock_guard lock(sessionsMutex_);
        sessions_.emplace(key, session);
    }

    void leave(SessionBase* key) {
        {
            const std::lock_guard lock(sessionsMutex_);
            sessions_.erase(key);
        }
        --openConnections_;
    }

    unsigned short port() const { return acceptor_.local_endpoint().port(); }
    bool usesTls() const { return tls_.has_value(); }

private:
    void accept();
    void acceptLater();

    HttpServerConfig config_;
    RequestHandler handler_;
    AccessLogger logger_;
    asio::io_context ioc_;
    std::optional<asio::ssl::context> tls_;
    tcp::acceptor acceptor_;
    asio::steady_timer acceptRetry_{ioc_};
    asio::signal_set signals_;
    std::atomic<bool> stopping_{false};
    std::atomic<std::size_t> openConnections_{0};
    std::mutex sessionsMutex_;
    std::unordered_map<SessionBase*, std::weak_ptr<SessionBase>> sessions_;
};

namespace {

// One connection: an optional TLS handshake, then requests read and answered one at a time.
template <class Stream>
class Session : public SessionBase, public std::enable_shared_from_this<Session<Stream>> {
public:
    template <class... StreamArgs>
    Session(std::shared_ptr<ServerCore> server, StreamArgs&&... streamArgs)
        : server_(std::move(server)),
          stream_(std::forward<StreamArgs>(streamArgs)...),
          buffer_(server_->config().headerLimit + server_->config().bodyLimit + 1024) {}

    ~Session() override { server_->leave(this); }

    void start() {
        remote_ = remoteOf(beast::get_lowest_layer(stream_).socket());
        server_->enroll(this, this->shared_from_this());
        asio::dispatch(stream_.get_executor(), [self = this->shared_from_this()] {
            if constexpr (std::is_same_v<Stream, TlsStream>) {
                self->expire();
                self->stream_.async_handshake(
                    asio::ssl::stream_base::server,
                    [self](const error_code& ec) { ec ? self->close() : self->read(); });
            } else {
                self->read();
            }
        });
    }

    void stopIfIdle() override {
        asio::post(stream_.get_executor(), [self = this->shared_from_this()] {
            if (!self->busy_) {
                beast::get_lowest_layer(self->stream_).cancel();
            }
        });
    }

private:
    void expire() { beast::get_lowest_layer(stream_).expires_after(server_->config().timeout); }

    void read() {
        if (server_->stopping()) {
            close();
            return;
        }
        parser_.emplace();
        parser_->header_limit(static_cast<std::uint32_t>(server_->config().headerLimit));
        parser_->body_limit(server_->config().bodyLimit);
        expire();
        http::async_read(stream_, buffer_, *parser_,
                         [self = this->shared_from_this()](const error_code& ec, std::size_t) {
                             self->onRead(ec);
                         });
    }

    void onRead(const error_code& ec) {
        started_ = std::chrono::steady_clock::now();
        if (!ec) {
            const auto& message = parser_->get();
            const HttpRequest request{std::string(message.method_string()),
                                      std::string(message.target()), message.body()};
            busy_ = true;
            const HttpResponse response = server_->handle(request);
            reply(request.method, request.target, response, message.keep_alive());
        } else if (isHttpParseError(ec)) {
            busy_ = true;
            const bool gotHeader = parser_->is_header_done();
            const std::string method =
                gotHeader ? std::string(parser_->get().method_string()) : "-";
            const std::string target = gotHeader ? std::string(parser_->get().target()) : "-";
            reply(method, target, refusalFor(ec), false);
        } else {
            close();  // end of stream, time-out or a broken connection: nothing to answer
        }
    }

    void reply(const std::string& method, const std::string& target, const HttpResponse& answer,
               bool keepAlive) {
        response_.emplace(static_cast<http::status>(answer.status), 11);
        response_->set(http::field::server, "karvel-service");
        response_->set(http::field::content_type, "application/json");
        response_->set(http::field::cache_control, "no-store");
        response_->keep_alive(keepAlive && !server_->stopping());
        response_->body() = answer.body;
        response_->prepare_payload();
        server_->log(AccessRecord{remote_, method, target, answer.status, answer.body.size(),
                                  std::chrono::duration_cast<std::chrono::microseconds>(
                                      std::chrono::steady_clock::now() - started_)});
        expire();
        http::async_write(stream_, *response_,
                          [self = this->shared_from_this()](const error_code& ec, std::size_t) {
                              self->onWrite(ec);
                          });
    }

    void onWrite(const error_code& ec) {
        busy_ = false;
        const bool keepAlive = response_->keep_alive();
        response_.reset();
        if (ec || !keepAlive) {
            close();
        } else {
            read();
        }
    }

    void close() {
        busy_ = true;  // nothing left to cancel
        if constexpr (std::is_same_v<Stream, TlsStream>) {
            expire();
            // Send our close_notify without waiting for the peer's: a reply is framed by its
            // length, so nothing after it matters, and waiting only holds the connection open.
            SSL_set_shutdown(stream_.native_handle(), SSL_RECEIVED_SHUTDOWN);
            stream_.async_shutdown([self = this->shared_from_this()](const error_code&) {
                error_code ignored;
                beast::get_lowest_layer(self->stream_)
                    .socket()
                    .shutdown(tcp::socket::shutdown_both, ignored);
                beast::get_lowest_layer(self->stream_).close();
            });
        } else {
            error_code ignored;
            stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
            stream_.close();
        }
    }

    std::shared_ptr<ServerCore> server_;
    Stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    std::optional<http::response<http::string_body>> response_;
    std::string remote_;
    std::chrono::steady_clock::time_point started_;
    bool busy_ = false;
};

}  // namespace

void ServerCore::accept() {
    acceptor_.async_accept(asio::make_strand(ioc_), [self = shared_from_this()](
                                                        const error_code& ec, tcp::socket socket) {
        if (ec) {
            if (!self->stopping()) {
                self->acceptLater();
            }
            return;
        }
        error_code ignored;
        // Over the bound, the connection is dropped at once rather than queued.
        if (self->openConnections_.fetch_add(1) >= self->config_.maxConnections) {
            --self->openConnections_;
            socket.close(ignored);
            self->accept();
            return;
        }
        // Small replies must not wait for the peer's delayed ACK of the TLS records before.
        socket.set_option(tcp::no_delay(true), ignored);
        if (self->tls_) {
            std::make_shared<Session<TlsStream>>(self, std::move(socket), *self->tls_)->start();
        } else {
            std::make_shared<Session<PlainStream>>(self, std::move(socket))->start();
        }
        self->accept();
    });
}

// After a failed accept (out of file descriptors, say), wait a little instead of spinning.
void ServerCore::acceptLater() {
    acceptRetry_.expires_after(std::chrono::milliseconds(50));
    acceptRetry_.async_wait([self = shared_from_this()](const error_code& ec) {
        if (!ec && !self->stopping()) {
            self->accept();
        }
    });
}

HttpServer::HttpServer(HttpServerConfig config, RequestHandler handler, AccessLogger logger)
    : core_(
          std::make_shared<ServerCore>(std::move(config), std::move(handler), std::move(logger))) {}

HttpServer::~HttpServer() = default;

unsigned short HttpServer::port() const {
    return core_->port();
}

bool HttpServer::usesTls() const {
    return core_->usesTls();
}

void HttpServer::run() {
    core_->run();
}

void HttpServer::stop() {
    core_->beginStop();
}

}  // namespace karvel::service::server
