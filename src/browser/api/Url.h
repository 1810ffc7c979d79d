#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace karvel::browser::api {

// Where a request goes: TLS or plain TCP, the host (sent as "Host:" and for SNI), the port
// to connect to and the path of the request line (always starting with "/").
struct Url {
    bool tls = false;
    std::string host;
    std::uint16_t port = 0;
    std::string path;
};

// Nothing when the text is not a URL the client can send: it does not match the URL pattern,
// its port is 0 or above 65535, or its path holds blanks or control characters (which would
// otherwise end up as extra lines of the request).
std::optional<Url> parseUrl(std::string_view text);

}  // namespace karvel::browser::api
