#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include "GameState.h"
#include "IslandScore.h"

namespace karvel::service::engine {

// One choice of the AI in a request: a jump, and whether it goes on jumping after it.
struct AiOption {
    Jump jump;
    bool keepJumping = false;  // only when the piece that jumped can jump again
    GameState after;           // the state this choice leads to
};

// Every choice of the team to move: each jump, twice when the piece can jump again after it
// (going on, then stopping). Passing mid-chain is not among them: the AI is mid-chain only after
// deciding to go on, and an AI move is always one jump.
std::vector<AiOption> listAiOptions(const GameState& state);

// The value of a choice for the team making it, fail-soft in (alpha, beta), given
// `valueForMover` of states reached by a jump or a pass (Solver or HorizonSearch). Going on is
// worth the best jump that follows, passing excluded.
template <class Evaluator>
int optionValue(const AiOption& option, Evaluator& evaluator, int alpha, int beta) {
    if (!option.keepJumping) {
        return evaluator.valueForMover(option.after, alpha, beta);
    }
    int best = -kValueLimit;
    for (const Jump& next : listJumps(option.after)) {
        best = std::max(best, evaluator.valueForMover(stateAfterJump(option.after, next),
                                                      std::max(alpha, best), beta));
        if (best >= beta) {
            break;
        }
    }
    return best;
}

// A best choice, ties broken at random. Each choice is searched with the window just below the
// best value so far: one that cannot reach it fails low cheaply, one that does is found exact.
template <class Evaluator>
AiOption chooseBestOption(const GameState& state, Evaluator& evaluator, std::mt19937_64& rng) {
    const std::vector<AiOption> options = listAiOptions(state);
    int best = -kValueLimit;
    std::vector<std::size_t> bestIndices;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const int value = optionValue(options[i], evaluator, best - 1, kValueLimit);
        if (value > best) {
            best = value;
            bestIndices.clear();
        }
        if (value == best) {
            bestIndices.push_back(i);
        }
    }
    std::uniform_int_distribution<std::size_t> pick(0, bestIndices.size() - 1);
    return options[bestIndices[pick(rng)]];
}

}  // namespace karvel::service::engine
