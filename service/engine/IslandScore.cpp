#include "IslandScore.h"

namespace karvel::service::engine {

namespace {

constexpr int kLargestScoringIsland = 5;

// The group of `pieces` joined to `seed` through neighbouring squares.
Bits groupOf(Bits seed, Bits pieces) {
    Bits group = seed;
    for (;;) {
        const Bits grown = withNeighbours(group) & pieces;
        if (grown == group) {
            return group;
        }
        group = grown;
    }
}

}  // namespace

int islandScore(Bits own, Bits opposing) {
    const Bits touched = own & withNeighbours(opposing);
    int score = 0;
    for (Bits remaining = own; remaining != 0;) {
        const Bits group = groupOf(remaining & (~remaining + 1), own);
        remaining &= ~group;
        const int size = std::popcount(group);
        if ((group & touched) == 0 && size <= kLargestScoringIsland) {
            score += 2 * size - 1;
        }
    }
    return score;
}

int finalScoreDifference(Bits own, Bits opposing) {
    return islandScore(own, opposing) - islandScore(opposing, own);
}

}  // namespace karvel::service::engine
