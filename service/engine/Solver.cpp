#include "Solver.h"

#include <algorithm>

#include "StateKey.h"

namespace karvel::service::engine {

Solver::Solver(TranspositionTable& table) : table_(table) {}

int Solver::value(const GameState& state) {
    return search(state, -kValueLimit, kValueLimit);
}

int Solver::valueWithin(const GameState& state, int alpha, int beta) {
    return search(state, alpha, beta);
}

int Solver::valueForMover(const GameState& after, int alpha, int beta) {
    return childValue(after, alpha, beta);
}

int Solver::childValue(const GameState& after, int alpha, int beta) {
    // Only a jump that may go on leaves the same team to move.
    if (after.chain != GameState::kNoChain) {
        return search(after, alpha, beta);
    }
    return -search(after, -beta, -alpha);
}

int Solver::search(const GameState& state, int alpha, int beta) {
    const JumpList jumps = listJumps(state);
    const bool midChain = state.chain != GameState::kNoChain;
    if (!midChain && jumps.empty()) {
        ++nodes_;
        return finalScoreDifference(state.mover, state.other);
    }

    const std::uint64_t key = canonicalKey(state);
    if (const auto known = table_.probe(key)) {
        if (known->bound == Bound::exact ||
            (known->bound == Bound::lower && known->value >= beta) ||
            (known->bound == Bound::upper && known->value <= alpha)) {
            return known->value;
        }
        if (known->bound == Bound::lower) {
            alpha = std::max(alpha, known->value);
        } else {
            beta = std::min(beta, known->value);
        }
    }
    ++nodes_;

    const int alphaAtStart = alpha;
    int best = -kValueLimit;
    if (midChain) {
        best = -search(stateAfterPass(state), -beta, -alpha);
        alpha = std::max(alpha, best);
    }
    for (const Jump& jump : jumps) {
        if (alpha >= beta) {
            break;
        }
        const int value = childValue(stateAfterJump(state, jump), alpha, beta);
        best = std::max(best, value);
        alpha = std::max(alpha, value);
    }

    const Bound bound = best <= alphaAtStart ? Bound::upper
                        : best >= beta       ? Bound::lower
                                             : Bound::exact;
    table_.store(key, TableEntry{best, bound});
    return best;
}

}  // namespace karvel::service::engine
