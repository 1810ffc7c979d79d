#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Position.h"

namespace karvel {

// The one-character text of a piece code, as used in the board text.
class PieceTools {
public:
    // "1" for 1, "2" for 2, "0" for every other code.
    static std::string toString(Piece piece);
    // The code of exactly "1" or "2"; every other text, and no text at all, gives 0.
    static Piece fromString(std::optional<std::string_view> text);
};

}  // namespace karvel
