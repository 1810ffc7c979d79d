#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace karvel::service::server {

struct HttpRequest {
    std::string method;
    std::string target;
    std::string body;
};

struct HttpResponse {
    int status;
    std::string body;  // JSON text
};

// One line of the access log, handed over once per answered request.
struct AccessRecord {
    std::string remote;
    std::string method;
    std::string target;
    int status;
    std::size_t bytes;
    std::chrono::microseconds duration;
};

struct HttpServerConfig {
    std::string bindAddress = "127.0.0.1";
    unsigned short port = 8443;  // 0 picks a free port
    std::string tlsCertFile;     // TLS when both files are given
    std::string tlsKeyFile;
    std::size_t threads = 4;
    std::size_t maxConnections = 512;
    std::size_t headerLimit = 8 * 1024;
    std::size_t bodyLimit = 4 * 1024;
    // Deadline for a whole TLS handshake, a whole request (keep-alive wait included), one reply.
    std::chrono::milliseconds timeout{10'000};
};

class ServerCore;  // the Beast side, kept out of this header

using RequestHandler = std::function<HttpResponse(const HttpRequest&)>;
using AccessLogger = std::function<void(const AccessRecord&)>;

// HTTP/1.1 server, over TLS or plain TCP, on a small pool of threads. Reads are bounded in size
// and time, and connections in number, so that no client can exhaust memory or threads. The
// handler runs on a pool thread and may block briefly.
class HttpServer {
public:
    // Binds and listens at once; throws std::exception when it cannot.
    HttpServer(HttpServerConfig config, RequestHandler handler, AccessLogger logger);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    unsigned short port() const;
    bool usesTls() const;

    // Serves until SIGINT or SIGTERM (or stop()), then stops accepting, lets the requests in
    // flight finish and returns once every connection is closed.
    void run();
    void stop();

private:
    std::shared_ptr<ServerCore> core_;
};

}  // namespace karvel::service::server
