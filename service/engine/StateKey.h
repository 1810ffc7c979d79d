#pragma once

#include <cstdint>

#include "GameState.h"

namespace karvel::service::engine {

// A number below 2^57 that is equal for two states exactly when one is the other seen in a
// mirror: left-right, top-bottom or both, moves that the rules and the scoring do not notice.
// It is the smallest mirror image's board in base 3 (0 empty, 1 mover, 2 other) times 64 plus
// the chain square + 1 (0 when not mid-chain).
std::uint64_t canonicalKey(const GameState& state);

constexpr int kStateKeyBits = 57;

}  // namespace karvel::service::engine
