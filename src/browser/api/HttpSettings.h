#pragma once

#include <chrono>
#include <string>

#include "browser/api/ResponseLimits.h"

namespace karvel::browser::api {

// What the request layer is built with: the trust anchors for TLS, the time allowed for each
// network step (connecting, the TLS handshake, sending, receiving the whole reply) and the
// bounds on a reply.
struct HttpSettings {
    std::string caFile;
    std::chrono::milliseconds timeout{10'000};
    ResponseLimits limits;
};

}  // namespace karvel::browser::api
