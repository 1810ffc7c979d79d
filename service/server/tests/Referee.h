#pragma once

#include <optional>
#include <vector>

#include "Board.h"

namespace karvel::service::server::testing {

// The course of a game worked out on the test side with the rules library, to check every reply
// of the service against.
struct Referee {
    Board board = Board::newGame();
    Piece toMove = 2;
    std::optional<Position> chainFrom;
    bool ended = false;

    // The jumps open to the team to move, in board order; only the chain piece's mid-chain.
    std::vector<Move> legalMoves() const;
    // Applies a jump; the team stays to move while the piece can jump again.
    void jump(const Move& move);
    void pass();
};

}  // namespace karvel::service::server::testing
