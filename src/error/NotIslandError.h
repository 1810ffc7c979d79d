#pragma once

#include <optional>
#include <string>

#include "Position.h"
#include "common/errors/Error.h"

namespace karvel::error {

class NotIslandError : public common::errors::Error {
public:
    static constexpr const char* TYPE = "NOT_ISLAND_ERROR";

    explicit NotIslandError(const std::optional<Position>& position)
        : Error(TYPE, messageFor(position)) {}

private:
    // Built by appending: GCC 12 at -O3 mistakes a chain of operator+ here for overlapping copies.
    static std::string messageFor(const std::optional<Position>& position) {
        std::string text = "\"";
        text += position ? Position::toString(*position) : std::string("null");
        text += "\" not Island";
        return text;
    }
};

}  // namespace karvel::error
