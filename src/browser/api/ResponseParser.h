#pragma once

#include <functional>
#include <string>

#include "browser/api/ByteSource.h"
#include "browser/api/ResponseLimits.h"

namespace karvel::browser::api {

struct HttpReply {
    int status = 0;
    std::string body;
};

// Reads one HTTP/1.1 reply: the status line, the headers, then the body by "content-length",
// by chunks, or up to the close. onStatus runs once the headers are read, before the body.
// Replies with a 1xx, 204 or 304 status have no body. Throws TransportError with the failure
// text for anything malformed, oversized or cut short. Lines of the status line and headers
// may end in CR LF or a bare LF; a NUL byte there is an invalid header.
HttpReply readResponse(ByteSource& source, const std::function<void(int status)>& onStatus,
                       const ResponseLimits& limits = {});

}  // namespace karvel::browser::api
