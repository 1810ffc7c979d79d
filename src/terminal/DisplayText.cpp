#include "terminal/DisplayText.h"

namespace karvel::terminal {

std::string pieceToString(Piece piece) {
    switch (piece) {
        case 0:
            return " ";
        case 1:
            return "O";
        case 2:
            return "X";
        default:
            return "";
    }
}

std::string positionToString(const Position& position) {
    return std::string(ROW_IDS[position.y]) + COL_IDS[position.x];
}

std::string boardToString(const Grid& grid) {
    std::string text;
    for (const Row& row : grid) {
        for (const Piece piece : row) {
            text += pieceToString(piece);
        }
    }
    return text;
}

int choice(const Position& position) {
    return position.x + 8 * position.y;
}

}  // namespace karvel::terminal
