#pragma once

#include <string>
#include <utility>

#include "common/errors/Error.h"

namespace karvel::error {

class ApiError : public common::errors::Error {
public:
    static constexpr const char* TYPE = "KARVEL_API_ERROR";

    explicit ApiError(std::string message) : Error(TYPE, std::move(message)) {}
};

}  // namespace karvel::error
