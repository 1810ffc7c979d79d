#include "SolveCommand.h"

#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <iomanip>
#include <ostream>

#include "GameState.h"
#include "Solver.h"

namespace karvel::service::engine {

namespace {

// 2^18 entries (2 MB): the opening solve searches fewer than 100 000 states.
constexpr int kLog2SolveTableEntries = 18;
constexpr char kOpeningBoard[] = "00000000111111112222222200000000";
constexpr int kFirstTeam = 2;

double cpuSecondsNow() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

OpeningSolve solveOpening() {
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = cpuSecondsNow();

    TranspositionTable table(kLog2SolveTableEntries);
    Solver solver(table);
    OpeningSolve solve;
    solve.value = solver.value(stateFromBoardText(kOpeningBoard, kFirstTeam, GameState::kNoChain));
    solve.nodes = solver.nodes();

    solve.cpuSeconds = cpuSecondsNow() - cpuStart;
    solve.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    solve.peakResidentKiB = peakResidentKiB();
    return solve;
}

int printOpeningSolve(std::ostream& out) {
    const OpeningSolve solve = solveOpening();
    const char* verdict = solve.value > 0 ? "X wins" : solve.value < 0 ? "O wins" : "a draw";
    out << std::fixed << std::setprecision(3) << "Opening position, X (team 2) moves first\n"
        << "value for X: " << solve.value << " (" << verdict << " under perfect play)\n"
        << "states searched: " << solve.nodes << "\n"
        << "wall time: " << solve.wallSeconds << " s\n"
        << "CPU time: " << solve.cpuSeconds << " s\n"
        << "peak resident memory: " << static_cast<double>(solve.peakResidentKiB) / 1024
        << " MiB\n";
    return 0;
}

}  // namespace karvel::service::engine
