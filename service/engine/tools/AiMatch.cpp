// Plays AI-against-AI games from the opening position, refereed by the rules library, and prints
// one line of results for the first level against the second (scripts/strength makes the table).
// Usage: karvel-ai-match LEVEL_A LEVEL_B GAMES [SEED]
// Half the games give A team 2 (X, moving first), half team 1. Output, from A's side:
// "A B games wins draws losses mean-score-difference".
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <random>
#include <string>

#include "Ai.h"
#include "Board.h"

namespace {

using karvel::Board;
using karvel::Piece;
using karvel::Position;

constexpr Piece kFirstTeam = 2;

// Final island score of team 2 minus that of team 1.
int playGame(int levelOfTeam2, int levelOfTeam1, std::mt19937_64& rng) {
    Board board = Board::newGame();
    Piece team = kFirstTeam;
    std::optional<Position> chainFrom;
    while (chainFrom || board.hasAnyMoreMoves(team)) {
        const int level = team == 2 ? levelOfTeam2 : levelOfTeam1;
        const auto choice =
            karvel::service::engine::chooseAiMove(board.toString(), team, chainFrom, level, rng);
        if (!board.isValidMove(choice.move) || board.pieceAt(choice.move.from) != team ||
            (chainFrom && choice.move.from != *chainFrom)) {
            throw std::logic_error("the AI chose an illegal jump");
        }
        board.move(choice.move);
        const bool canGoOn = !board.getMoves(choice.move.to).empty();
        if (choice.keepJumping && !canGoOn) {
            throw std::logic_error("the AI chose to go on with a piece that cannot");
        }
        if (choice.keepJumping) {
            chainFrom = choice.move.to;
        } else {
            chainFrom.reset();
            team = karvel::opposingTeamOf(team);
        }
    }
    return board.calculateScore(2) - board.calculateScore(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::cerr << "usage: karvel-ai-match LEVEL_A LEVEL_B GAMES [SEED]\n";
        return 2;
    }
    const int levelA = std::stoi(argv[1]);
    const int levelB = std::stoi(argv[2]);
    const int games = std::stoi(argv[3]);
    std::mt19937_64 rng(argc == 5 ? std::stoull(argv[4]) : 1);

    int wins = 0;
    int draws = 0;
    int losses = 0;
    std::int64_t totalDifference = 0;
    for (int game = 0; game < games; ++game) {
        const bool aIsTeam2 = game % 2 == 0;
        const int team2Difference =
            aIsTeam2 ? playGame(levelA, levelB, rng) : playGame(levelB, levelA, rng);
        const int difference = aIsTeam2 ? team2Difference : -team2Difference;
        wins += difference > 0 ? 1 : 0;
        draws += difference == 0 ? 1 : 0;
        losses += difference < 0 ? 1 : 0;
        totalDifference += difference;
    }
    std::printf("%d %d %d %d %d %d %.2f\n", levelA, levelB, games, wins, draws, losses,
                games > 0 ? static_cast<double>(totalDifference) / games : 0.0);
    return 0;
}
