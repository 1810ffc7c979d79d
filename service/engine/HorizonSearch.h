#pragma once

#include "GameState.h"
#include "IslandScore.h"

namespace karvel::service::engine {

// Minimax that looks a fixed number of jumps ahead and then judges a state by the score its
// board would give if the game ended there; exact for games that end within the horizon.
class HorizonSearch {
public:
    explicit HorizonSearch(int jumpsAhead);

    // The value of a state reached by a jump or a pass, seen from the team that made it (the
    // same contract as Solver::valueForMover, with the horizon's estimate).
    int valueForMover(const GameState& after, int alpha = -kValueLimit, int beta = kValueLimit);

private:
    int search(const GameState& state, int jumpsLeft, int alpha, int beta);
    int childValue(const GameState& after, int jumpsLeft, int alpha, int beta);

    int jumpsAhead_;
};

}  // namespace karvel::service::engine
