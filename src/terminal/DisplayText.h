#pragma once

#include <string>

#include "Board.h"
#include "Position.h"

namespace karvel::terminal {

// Row letters indexed by y, column digits indexed by x.
inline constexpr const char* ROW_IDS[] = {"A", "B", "C", "D"};
inline constexpr const char* COL_IDS[] = {"1", "2", "3", "4", "5", "6", "7", "8"};

// " " for an empty square, "O" for team 1, "X" for team 2, "" for anything else.
std::string pieceToString(Piece piece);
// Row letter first: x 0, y 0 is "A1".
std::string positionToString(const Position& position);
// The 32 symbols of the grid, row "A" first.
std::string boardToString(const Grid& grid);
// The menu index of a square: x + 8 * y.
int choice(const Position& position);

}  // namespace karvel::terminal
