#pragma once

#include <optional>
#include <string>

#include "Position.h"
#include "common/errors/Error.h"

namespace karvel::error {

class NotIslandError : public common::errors::Error {
public:
    static constexpr const char* TYPE = "NOT_ISLAND_ERROR";

    // Without a position the message names "null" in its place.
    explicit NotIslandError(const std::optional<Position>& position)
        : Error(TYPE, "\"" + (position ? Position::toString(*position) : std::string("null")) +
                          "\" not Island") {}
};

}  // namespace karvel::error
