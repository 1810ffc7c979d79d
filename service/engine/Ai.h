#pragma once

#include <optional>
#include <random>
#include <string>

#include "Position.h"

namespace karvel::service::engine {

// The AI's decision in one request.
struct AiChoice {
    Move move;
    // True: after this jump the AI stays to move (the game's canPass is true) because it will
    // jump again with the same piece in its next request. False: it ends its turn in this
    // request, whether or not the piece could go on.
    bool keepJumping = false;
};

// AI levels
constexpr int kEasy = 0;    // a random jump, a random choice to go on or stop
constexpr int kMedium = 1;  // minimax two jumps ahead, judging boards by their island scores
constexpr int kHard = 2;    // perfect play, ties broken at random

// Chooses the AI's next jump for `team` on `boardText` (32 characters "0"/"1"/"2", row "A"
// first). `chainFrom` is set when the AI is mid-chain: only that piece may jump. The result is
// always a jump, also mid-chain: the AI is there only because it chose to go on (keepJumping),
// and for Hard that choice was perfect, so jumping on is at least as good as passing.
// Preconditions, else std::invalid_argument: team 1 or 2, level 0..2, at most 8 pieces per
// team, and a legal jump for team (from chainFrom when set). Thread-safe; `rng` is the
// caller's.
AiChoice chooseAiMove(const std::string& boardText, Piece team, std::optional<Position> chainFrom,
                      int level, std::mt19937_64& rng);

}  // namespace karvel::service::engine
