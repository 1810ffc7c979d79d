#pragma once

#include <cstdint>

#include "GameState.h"
#include "IslandScore.h"
#include "TranspositionTable.h"

namespace karvel::service::engine {

// Exact minimax to the end of the game, by alpha-beta search over a transposition table. Values
// are final island score differences for the team to move in the state searched. A solver is
// used by one thread; several solvers may share one table.
class Solver {
public:
    explicit Solver(TranspositionTable& table);

    // Values
    int value(const GameState& state);  // exact
    // Fail-soft: the exact value when it lies inside (alpha, beta), else a bound on the same
    // side of the window as the value.
    int valueWithin(const GameState& state, int alpha, int beta);
    // The value of a state reached by a jump or a pass, seen from the team that made it (the
    // same team is still to move after a jump that may go on, the other team otherwise);
    // fail-soft like valueWithin.
    int valueForMover(const GameState& after, int alpha = -kValueLimit, int beta = kValueLimit);

    // Work done: states searched (not answered by the table), a deterministic figure for a
    // fresh table.
    std::uint64_t nodes() const { return nodes_; }

private:
    int search(const GameState& state, int alpha, int beta);
    int childValue(const GameState& after, int alpha, int beta);

    TranspositionTable& table_;
    std::uint64_t nodes_ = 0;
};

}  // namespace karvel::service::engine
