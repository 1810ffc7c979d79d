#include "HardAi.h"

#include "Solver.h"

namespace karvel::service::engine {

namespace {

// 2^20 entries (8 MB): ten times the states of the opening solve, so games in progress mostly
// find their values already there.
constexpr int kLog2SharedTableEntries = 20;

TranspositionTable& sharedTable() {
    static TranspositionTable table(kLog2SharedTableEntries);
    return table;
}

}  // namespace

AiOption chooseHardOption(const GameState& state, std::mt19937_64& rng) {
    Solver solver(sharedTable());
    return chooseBestOption(state, solver, rng);
}

}  // namespace karvel::service::engine
