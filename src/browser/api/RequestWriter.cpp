#include "browser/api/RequestWriter.h"

#include <algorithm>
#include <string>

#include "browser/api/TransportError.h"

namespace karvel::browser::api {

namespace {

// The token characters of RFC 9110, the only ones a header name may hold.
bool isTokenChar(char c) {
    const std::string_view extra = "!#$%&'*+-.^_`|~";
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           extra.find(c) != std::string_view::npos;
}

bool isSafeInValue(char c) {
    return c != '\r' && c != '\n' && c != '\0';
}

void checkHeader(const Header& header) {
    const auto& [name, value] = header;
    if (name.empty() || !std::all_of(name.begin(), name.end(), isTokenChar) ||
        !std::all_of(value.begin(), value.end(), isSafeInValue)) {
        throw TransportError("Invalid header");
    }
}

}  // namespace

std::string writeRequest(std::string_view method, std::string_view host, std::string_view path,
                         const std::vector<Header>& headers, std::optional<std::string_view> body) {
    std::for_each(headers.begin(), headers.end(), checkHeader);
    std::string bytes;
    bytes.append(method).append(" ").append(path).append(" HTTP/1.1\r\n");
    bytes.append("Host: ").append(host).append("\r\n");
    if (body.has_value()) {
        bytes.append("Content-Length: ").append(std::to_string(body->size())).append("\r\n");
    }
    bytes.append("Connection: close\r\n");
    for (const auto& [name, value] : headers) {
        bytes.append(name).append(": ").append(value).append("\r\n");
    }
    bytes.append("\r\n");
    if (body.has_value()) {
        bytes.append(*body);
    }
    return bytes;
}

}  // namespace karvel::browser::api
