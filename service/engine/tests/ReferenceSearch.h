#pragma once

#include <map>
#include <optional>
#include <string>

#include "Board.h"

namespace karvel::service::engine::testing {

// Plain exhaustive minimax on karvel::Board, sharing nothing with the engine: the yardstick for
// the fast solver. Values are final island score differences for the given team.
class ReferenceSearch {
public:
    // The value for `team`, to move on `board` (mid-chain from `chain` when set, passing allowed).
    int value(const Board& board, Piece team, std::optional<Position> chain);
    // The value for `team` of jumping `move` and then playing on perfectly.
    int jumpValue(const Board& board, Piece team, const Move& move);
    // The value for `team` of jumping `move` and then ending the turn, or, with keepJumping,
    // jumping on at least once more.
    int choiceValue(const Board& board, Piece team, const Move& move, bool keepJumping);
    // The best that `team` can get by jumping now (from `chain` when set): passing excluded.
    int bestJumpValue(const Board& board, Piece team, std::optional<Position> chain);

private:
    std::map<std::string, int> memo_;
};

}  // namespace karvel::service::engine::testing
