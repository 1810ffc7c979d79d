#include "Ai.h"

#include <bit>
#include <stdexcept>

#include "AiOptions.h"
#include "HardAi.h"
#include "HorizonSearch.h"

namespace karvel::service::engine {

namespace {

constexpr int kMaxPiecesPerTeam = 8;
constexpr int kMediumJumpsAhead = 2;

GameState checkedState(const std::string& boardText, Piece team, std::optional<Position> chainFrom,
                       int level) {
    if (team != 1 && team != 2) {
        throw std::invalid_argument("the AI's team must be 1 or 2");
    }
    if (level < kEasy || level > kHard) {
        throw std::invalid_argument("the AI level must be 0, 1 or 2");
    }
    int chain = GameState::kNoChain;
    if (chainFrom) {
        if (chainFrom->x < 0 || chainFrom->x >= kColumns || chainFrom->y < 0 ||
            chainFrom->y >= kRows) {
            throw std::invalid_argument("the chain square is off the board");
        }
        chain = squareOf(chainFrom->x, chainFrom->y);
    }
    const GameState state = stateFromBoardText(boardText, team, chain);
    if (std::popcount(state.mover) > kMaxPiecesPerTeam ||
        std::popcount(state.other) > kMaxPiecesPerTeam) {
        throw std::invalid_argument("a team has more pieces than a game can hold");
    }
    if ((chainFrom && (state.mover & bitOf(chain)) == 0) || listJumps(state).empty()) {
        throw std::invalid_argument("the AI has no legal jump");
    }
    return state;
}

AiOption randomOption(const GameState& state, std::mt19937_64& rng) {
    const JumpList jumps = listJumps(state);
    std::uniform_int_distribution<int> pickJump(0, jumps.size - 1);
    const Jump jump = jumps.jumps[pickJump(rng)];
    const GameState after = stateAfterJump(state, jump);
    if (after.chain != GameState::kNoChain && std::bernoulli_distribution(0.5)(rng)) {
        return AiOption{jump, true, after};
    }
    return AiOption{jump, false,
                    after.chain != GameState::kNoChain ? stateAfterPass(after) : after};
}

Position positionOf(int square) {
    return Position{columnOf(square), rowOf(square)};
}

}  // namespace

AiChoice chooseAiMove(const std::string& boardText, Piece team, std::optional<Position> chainFrom,
                      int level, std::mt19937_64& rng) {
    const GameState state = checkedState(boardText, team, chainFrom, level);
    const AiOption option = [&] {
        if (level == kEasy) {
            return randomOption(state, rng);
        }
        if (level == kMedium) {
            HorizonSearch search(kMediumJumpsAhead);
            return chooseBestOption(state, search, rng);
        }
        return chooseHardOption(state, rng);
    }();
    return AiChoice{Move{positionOf(option.jump.from), positionOf(option.jump.to)},
                    option.keepJumping};
}

}  // namespace karvel::service::engine
