#pragma once

#include <array>
#include <string>
#include <vector>

#include "Position.h"

namespace karvel {

// 4 rows ("A".."D", indexed by y) of 8 piece codes (columns "1".."8", indexed by x).
using Row = std::array<Piece, 8>;
using Grid = std::array<Row, 4>;

// The squares of one game and the rules that read them. Its text form is 32 characters
// "0"/"1"/"2", row "A" first, left to right within a row.
class Board {
public:
    Board();  // every square empty

    // Creation and text form
    static Board fromString(const std::string& text);  // characters past the 32nd are ignored
    static Board newGame();                            // the opening position
    std::string toString() const;
    Board clone() const;

    // Squares
    Piece pieceAt(const Position& p) const;  // 0 for any square off the board
    bool isInBounds(const Position& p) const;
    std::vector<Position> getPositions(Piece team) const;  // board order; none for team 0

    // Moves (jump offsets always tried in the same fixed order)
    static Position midPoint(const Position& a, const Position& b);
    bool isValidMove(const Move& m) const;
    std::vector<Position> getMoves(const Position& p) const;
    std::vector<Position> getPositionsWithMoves(Piece team) const;
    bool hasAnyMoreMoves(Piece team) const;
    void move(const Move& m);  // throws error::OccupiedSpaceError when m.to is taken

    // Islands and scoring
    std::vector<Position> getIsland(const Position& start) const;  // throws error::NotIslandError
    int calculateScore(Piece team) const;

    Grid board{};
};

}  // namespace karvel
