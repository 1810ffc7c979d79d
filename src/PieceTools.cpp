#include "PieceTools.h"

namespace karvel {

std::string PieceTools::toString(Piece piece) {
    if (piece == 1) {
        return "1";
    }
    if (piece == 2) {
        return "2";
    }
    return "0";
}

Piece PieceTools::fromString(std::optional<std::string_view> text) {
    if (!text) {
        return 0;
    }
    if (*text == "1") {
        return 1;
    }
    if (*text == "2") {
        return 2;
    }
    return 0;
}

}  // namespace karvel
