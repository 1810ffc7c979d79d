#pragma once

#include <optional>
#include <random>
#include <vector>

#include "Board.h"

namespace karvel::service::engine::testing {

// A moment of a game where `team` must jump (from `chain` when set).
struct DecisionPoint {
    Board board;
    Piece team = 2;
    std::optional<Position> chain;
};

// The decision points of one game of random jumps from the opening, X first, refereed by the
// rules library; a piece that can go on does so half of the time.
std::vector<DecisionPoint> randomGame(std::mt19937_64& rng);

// A board holding up to 8 pieces of each team on random squares: many are never reached in a
// game, which makes them good for comparing two implementations of the rules.
Board randomBoard(std::mt19937_64& rng);

}  // namespace karvel::service::engine::testing
