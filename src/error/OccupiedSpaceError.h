#pragma once

#include <optional>
#include <string>

#include "Position.h"
#include "common/errors/Error.h"

namespace karvel::error {

class OccupiedSpaceError : public common::errors::Error {
public:
    static constexpr const char* TYPE = "OCCUPIED_SPACE_ERROR";

    // Without a position the message names "null" in its place.
    OccupiedSpaceError(const std::optional<Position>& position, Piece piece)
        : Error(TYPE, "Position \"" +
                          (position ? Position::toString(*position) : std::string("null")) +
                          "\" taken by " + std::to_string(piece)) {}
};

}  // namespace karvel::error
