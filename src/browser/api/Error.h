#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace karvel::browser::api {

// A failed request: the status read so far (0 before any status line) and the failure text.
// Deliberately not a common::errors::Error, so the play loop's handler for records passes it by.
class Error {
public:
    Error(std::int32_t status, std::string message) : status(status), message(std::move(message)) {}

    std::int32_t status;
    std::string message;
};

}  // namespace karvel::browser::api
