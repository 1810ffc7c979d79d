// Latency of Hard moves as a fresh service process sees them: seeded games of Hard against Easy
// in both colours, the first request paying for the shared table's first searches.
// Run: build/<dir>/bench/engine/hard_latency [GAMES (default 100)]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "Ai.h"
#include "HardAgainstEasy.h"

int main(int argc, char** argv) {
    namespace engine = karvel::service::engine;
    using karvel::Piece;
    using karvel::Position;

    const int games = argc > 1 ? std::stoi(argv[1]) : 100;
    std::mt19937_64 rng(3);
    std::vector<double> milliseconds;
    engine::playHardAgainstEasy(
        games, [&](const std::string& board, Piece team, std::optional<Position> chain, int level) {
            const auto start = std::chrono::steady_clock::now();
            const engine::AiChoice choice = engine::chooseAiMove(board, team, chain, level, rng);
            if (level == engine::kHard) {
                milliseconds.push_back(std::chrono::duration<double, std::milli>(
                                           std::chrono::steady_clock::now() - start)
                                           .count());
            }
            return choice;
        });
    if (milliseconds.empty()) {
        return 1;
    }
    const double first = milliseconds.front();
    std::sort(milliseconds.begin(), milliseconds.end());
    auto at = [&](double fraction) {
        const auto last = static_cast<double>(milliseconds.size() - 1);
        return milliseconds[static_cast<std::size_t>(fraction * last)];
    };
    std::printf(
        "Hard moves: %zu; first %.3f ms; median %.4f ms; 99th percentile %.3f ms; max %.3f ms\n",
        milliseconds.size(), first, at(0.5), at(0.99), milliseconds.back());
    return 0;
}
