#include "HorizonSearch.h"

#include <algorithm>

#include "IslandScore.h"

namespace karvel::service::engine {

HorizonSearch::HorizonSearch(int jumpsAhead) : jumpsAhead_(jumpsAhead) {}

int HorizonSearch::valueForMover(const GameState& after, int alpha, int beta) {
    return childValue(after, jumpsAhead_, alpha, beta);
}

int HorizonSearch::childValue(const GameState& after, int jumpsLeft, int alpha, int beta) {
    if (after.chain != GameState::kNoChain) {
        return search(after, jumpsLeft, alpha, beta);
    }
    return -search(after, jumpsLeft, -beta, -alpha);
}

int HorizonSearch::search(const GameState& state, int jumpsLeft, int alpha, int beta) {
    const JumpList jumps = listJumps(state);
    const bool midChain = state.chain != GameState::kNoChain;
    if (jumpsLeft == 0 || (!midChain && jumps.empty())) {
        return finalScoreDifference(state.mover, state.other);
    }
    int best = -kValueLimit;
    if (midChain) {
        best = -search(stateAfterPass(state), jumpsLeft, -beta, -alpha);
        alpha = std::max(alpha, best);
    }
    for (const Jump& jump : jumps) {
        if (alpha >= beta) {
            break;
        }
        const int value = childValue(stateAfterJump(state, jump), jumpsLeft - 1, alpha, beta);
        best = std::max(best, value);
        alpha = std::max(alpha, value);
    }
    return best;
}

}  // namespace karvel::service::engine
