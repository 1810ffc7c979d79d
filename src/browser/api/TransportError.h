#pragma once

#include <stdexcept>
#include <string>

namespace karvel::browser::api {

// A failed exchange; what() is the failure text handed to the request's failure handler.
class TransportError : public std::runtime_error {
public:
    explicit TransportError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace karvel::browser::api
