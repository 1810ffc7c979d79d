#include "browser/api/HttpClient.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "browser/api/Connection.h"
#include "browser/api/RequestWriter.h"
#include "browser/api/ResponseParser.h"
#include "browser/api/TcpConnection.h"
#include "browser/api/TlsConnection.h"
#include "browser/api/TransportError.h"
#include "browser/api/TrustAnchors.h"
#include "browser/api/Url.h"

namespace karvel::browser::api {

namespace {

// anchors is null for plain TCP; for TLS it must outlive the connection.
std::unique_ptr<Connection> connect(const Url& url, const HttpSettings& settings,
                                    const TrustAnchors* anchors) {
    const std::string place = url.host + ":" + std::to_string(url.port);
    const Deadline connecting(settings.timeout, "Timed out connecting on " + place);
    auto tcp = std::make_unique<TcpConnection>(url.host, url.port, connecting);
    if (anchors == nullptr) {
        return tcp;
    }
    const Deadline handshaking(settings.timeout, "Timed out in the TLS handshake with " + place);
    return std::make_unique<TlsConnection>(std::move(tcp), url.host, *anchors, handshaking);
}

// The reply, or the failure text of an exchange that went wrong before a whole reply came.
std::variant<HttpReply, std::string> exchange(const HttpRequest& request,
                                              const HttpSettings& settings) {
    try {
        const std::optional<Url> url = parseUrl(request.url);
        if (!url) {
            return std::string("Invalid URL");
        }
        const std::string bytes = writeRequest(
            request.method, url->host, url->path, request.headers,
            request.hasBody ? std::optional<std::string_view>(request.body) : std::nullopt);
        // Read before connecting, so a bad trust file costs no connection.
        const auto anchors = url->tls ? std::make_unique<TrustAnchors>(settings.caFile) : nullptr;
        const std::unique_ptr<Connection> connection = connect(*url, settings, anchors.get());
        connection->send(bytes, Deadline(settings.timeout, "Timed out sending the request"));
        const Deadline receiving(settings.timeout, "Timed out receiving the reply");
        ConnectionSource source(*connection, receiving);
        return readResponse(source, request.onStatus, settings.limits);
    } catch (const TransportError& error) {
        return std::string(error.what());
    }
}

}  // namespace

void HttpClient::send(const HttpRequest& request) const {
    auto outcome = exchange(request, settings_);
    if (const auto* failure = std::get_if<std::string>(&outcome)) {
        request.onError(*failure);
        return;
    }
    const HttpReply& reply = std::get<HttpReply>(outcome);
    if (reply.status < 200 || reply.status >= 400) {
        request.onError("Http Error #" + std::to_string(reply.status));
        return;
    }
    request.onData(reply.body);
}

}  // namespace karvel::browser::api
