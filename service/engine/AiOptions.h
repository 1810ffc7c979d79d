#pragma once

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

#include "GameState.h"

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

// The value of a choice for the team making it, given `valueForMover` of states reached by a
// jump or a pass (Solver::valueForMover or HorizonSearch::valueForMover). Going on is worth
// the best jump that follows, passing excluded.
template <class Evaluator>
int optionValue(const AiOption& option, Evaluator& evaluator) {
    if (!option.keepJumping) {
        return evaluator.valueForMover(option.after);
    }
    int best = std::numeric_limits<int>::min();
    for (const Jump& next : listJumps(option.after)) {
        best = std::max(best, evaluator.valueForMover(stateAfterJump(option.after, next)));
    }
    return best;
}

// A best choice, ties broken at random.
template <class Evaluator>
AiOption chooseBestOption(const GameState& state, Evaluator& evaluator, std::mt19937_64& rng) {
    const std::vector<AiOption> options = listAiOptions(state);
    std::vector<int> values;
    values.reserve(options.size());
    for (const AiOption& option : options) {
        values.push_back(optionValue(option, evaluator));
    }
    const int best = *std::max_element(values.begin(), values.end());
    std::vector<std::size_t> bestIndices;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (values[i] == best) {
            bestIndices.push_back(i);
        }
    }
    std::uniform_int_distribution<std::size_t> pick(0, bestIndices.size() - 1);
    return options[bestIndices[pick(rng)]];
}

}  // namespace karvel::service::engine
