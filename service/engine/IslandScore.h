#pragma once

#include "Bitboard.h"

namespace karvel::service::engine {

// The island score of `own` against `opposing`: each group of own pieces joined through any of
// the eight neighbours and touching no opposing piece, not even diagonally, scores 2n - 1 for
// n = 1..5 pieces and nothing from 6 up.
int islandScore(Bits own, Bits opposing);

// Every final score difference lies strictly inside (-kValueLimit, kValueLimit): no team with
// at most 8 pieces scores more than 14.
constexpr int kValueLimit = 15;

// The final value for the team owning `own`: its island score minus the opposing team's.
int finalScoreDifference(Bits own, Bits opposing);

}  // namespace karvel::service::engine
