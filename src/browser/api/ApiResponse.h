#pragma once

#include <cstdint>
#include <string>

namespace karvel::browser::api {

// What a request produced: the status (0 until a status line is read) and the body on success
// or the failure text on failure.
struct ApiResponse {
    std::int32_t status = 0;
    std::string data;
};

}  // namespace karvel::browser::api
