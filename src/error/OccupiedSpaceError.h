#pragma once

#include <optional>
#include <string>

#include "Position.h"
#include "common/errors/Error.h"

namespace karvel::error {

class OccupiedSpaceError : public common::errors::Error {
public:
    static constexpr const char* TYPE = "OCCUPIED_SPACE_ERROR";

    OccupiedSpaceError(const std::optional<Position>& position, Piece piece)
        : Error(TYPE, messageFor(position, piece)) {}

private:
    // Built by appending: GCC 12 at -O3 mistakes a chain of operator+ here for overlapping copies.
    static std::string messageFor(const std::optional<Position>& position, Piece piece) {
        std::string text = "Position \"";
        text += position ? Position::toString(*position) : std::string("null");
        text += "\" taken by ";
        text += std::to_string(piece);
        return text;
    }
};

}  // namespace karvel::error
