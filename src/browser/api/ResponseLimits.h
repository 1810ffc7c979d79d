#pragma once

#include <cstddef>

namespace karvel::browser::api {

// Bounds on what a server may make the client hold.
struct ResponseLimits {
    std::size_t maxHeaderBytes =
        std::size_t{64} * 1024;  // status line, headers and trailers in all
    std::size_t maxBodyBytes = std::size_t{16} * 1024 * 1024;  // the decoded body
};

}  // namespace karvel::browser::api
