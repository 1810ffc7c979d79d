#pragma once

#include <random>

#include "AiOptions.h"

namespace karvel::service::engine {

// A perfect choice, ties broken at random. Searches share one process-wide
// table, so later moves of a game mostly read values that earlier searches found.
AiOption chooseHardOption(const GameState& state, std::mt19937_64& rng);

}  // namespace karvel::service::engine
