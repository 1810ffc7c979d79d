#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/api/HttpRequest.h"

namespace karvel::browser::api {

// The request bytes, in the fixed order: request line, "Host:" (bare host, no port),
// "Content-Length:" when there is a body, "Connection: close", the added headers, an empty
// line and the body. Throws TransportError("Invalid header") for a header whose name is not a
// token or whose value holds a line break or NUL, which would forge extra request lines.
std::string writeRequest(std::string_view method, std::string_view host, std::string_view path,
                         const std::vector<Header>& headers, std::optional<std::string_view> body);

}  // namespace karvel::browser::api
