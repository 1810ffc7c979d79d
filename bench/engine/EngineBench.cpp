// Engine speed: the opening solve, and Hard moves as the service makes them (first move of a
// fresh process, then moves of games in progress with the shared table warm).
// Run: build/<dir>/bench/engine/engine_bench
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "Ai.h"
#include "Board.h"
#include "GameState.h"
#include "HardAgainstEasy.h"
#include "SolveCommand.h"
#include "Solver.h"

namespace {

using karvel::Board;
using karvel::Piece;
using karvel::Position;
namespace engine = karvel::service::engine;

struct Request {
    std::string board;
    Piece team;
    std::optional<Position> chainFrom;
};

// Every AI request of seeded games between Hard and Easy, in both colours.
std::vector<Request> hardRequests() {
    std::mt19937_64 rng(42);
    std::vector<Request> requests;
    engine::playHardAgainstEasy(
        50, [&](const std::string& board, Piece team, std::optional<Position> chain, int level) {
            if (level == engine::kHard) {
                requests.push_back({board, team, chain});
            }
            return engine::chooseAiMove(board, team, chain, level, rng);
        });
    return requests;
}

void openingSolve(benchmark::State& state) {
    std::uint64_t nodes = 0;
    for (auto _ : state) {
        nodes = engine::solveOpening().nodes;
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(openingSolve)->Unit(benchmark::kMillisecond);

void hardMoveInGamesInProgress(benchmark::State& state) {
    const std::vector<Request> requests = hardRequests();  // also warms the shared table
    std::mt19937_64 rng(1);
    std::size_t next = 0;
    for (auto _ : state) {
        const Request& request = requests[next];
        benchmark::DoNotOptimize(engine::chooseAiMove(request.board, request.team,
                                                      request.chainFrom, engine::kHard, rng));
        next = (next + 1) % requests.size();
    }
    state.counters["positions"] = static_cast<double>(requests.size());
}
BENCHMARK(hardMoveInGamesInProgress)->Unit(benchmark::kMicrosecond);

void mediumMove(benchmark::State& state) {
    const std::string opening = Board::newGame().toString();
    std::mt19937_64 rng(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            engine::chooseAiMove(opening, 2, std::nullopt, engine::kMedium, rng));
    }
}
BENCHMARK(mediumMove)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
