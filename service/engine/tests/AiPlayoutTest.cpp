// Whole games between AI levels through chooseAiMove, refereed by the rules library: every jump
// legal, one opposing piece fewer per jump, chains kept to the piece that jumped.
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "Ai.h"
#include "Board.h"

namespace karvel::service::engine {
namespace {

constexpr int kPiecesPerTeam = 8;

struct GameResult {
    int jumps = 0;
    int scoreDifferenceForX = 0;
};

// Plays one game, checking each decision; returns what the game came to.
GameResult playCheckedGame(int levelOfX, int levelOfO, std::mt19937_64& rng) {
    Board board = Board::newGame();
    Piece team = 2;
    std::optional<Position> chain;
    GameResult result;
    while (chain || board.hasAnyMoreMoves(team)) {
        const Piece opponent = opposingTeamOf(team);
        const std::size_t ownBefore = board.getPositions(team).size();
        const std::size_t opponentBefore = board.getPositions(opponent).size();
        const int level = team == 2 ? levelOfX : levelOfO;
        const AiChoice choice = chooseAiMove(board.toString(), team, chain, level, rng);

        EXPECT_EQ(board.pieceAt(choice.move.from), team);
        EXPECT_TRUE(board.isValidMove(choice.move));
        if (chain) {
            EXPECT_EQ(choice.move.from, *chain) << "a chain goes on with the piece that jumped";
        }
        const auto listed = board.getMoves(choice.move.from);
        EXPECT_NE(std::find(listed.begin(), listed.end(), choice.move.to), listed.end());
        if (::testing::Test::HasFailure()) {
            return result;
        }

        board.move(choice.move);
        ++result.jumps;
        EXPECT_EQ(board.getPositions(team).size(), ownBefore);
        EXPECT_EQ(board.getPositions(opponent).size(), opponentBefore - 1);
        const bool canGoOn = !board.getMoves(choice.move.to).empty();
        EXPECT_TRUE(canGoOn || !choice.keepJumping) << "going on needs another jump";
        if (choice.keepJumping && canGoOn) {
            chain = choice.move.to;
        } else {
            chain.reset();
            team = opponent;
        }
    }
    result.scoreDifferenceForX = board.calculateScore(2) - board.calculateScore(1);
    return result;
}

TEST(AiPlayout, EveryPairOfLevelsPlaysOnlyLegalJumps) {
    std::mt19937_64 rng(99);
    for (const int levelOfX : {kEasy, kMedium, kHard}) {
        for (const int levelOfO : {kEasy, kMedium, kHard}) {
            for (int game = 0; game < 6; ++game) {
                const GameResult result = playCheckedGame(levelOfX, levelOfO, rng);
                ASSERT_FALSE(HasFailure()) << "X level " << levelOfX << ", O level " << levelOfO;
                EXPECT_GT(result.jumps, 0);
                EXPECT_LT(result.jumps, 2 * kPiecesPerTeam);
            }
        }
    }
}

TEST(AiPlayout, HardNeverLosesFromEitherSide) {
    // The opening is a draw under perfect play, so perfect play cannot lose.
    std::mt19937_64 rng(17);
    for (int game = 0; game < 10; ++game) {
        const int other = game % 2 == 0 ? kEasy : kMedium;
        EXPECT_GE(playCheckedGame(kHard, other, rng).scoreDifferenceForX, 0);
        EXPECT_LE(playCheckedGame(other, kHard, rng).scoreDifferenceForX, 0);
    }
}

TEST(AiPlayout, ThreadsPlayingAtOnceStayLegalAndHardStaysUnbeaten) {
    constexpr int kThreads = 4;
    std::vector<int> hardLosses(kThreads, 0);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &hardLosses] {
            std::mt19937_64 rng(1000 + t);
            for (int game = 0; game < 4; ++game) {
                const GameResult result = playCheckedGame(kHard, kEasy + t % 2, rng);
                hardLosses[t] += result.scoreDifferenceForX < 0 ? 1 : 0;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(hardLosses, std::vector<int>(kThreads, 0));
}

TEST(AiInput, RefusesRequestsOutsideItsPreconditions) {
    struct Case {
        const char* why;
        const char* board;
        Piece team;
        std::optional<Position> chain;
        int level;
    };
    const std::string opening = Board::newGame().toString();
    const Case cases[] = {
        {"team 0", opening.c_str(), 0, std::nullopt, kHard},
        {"team 3", opening.c_str(), 3, std::nullopt, kHard},
        {"level -1", opening.c_str(), 2, std::nullopt, -1},
        {"level 3", opening.c_str(), 2, std::nullopt, 3},
        {"nine pieces", "11111111100000002222222200000000", 2, std::nullopt, kEasy},
        {"no jump at all", "10000000000000000000000000000002", 2, std::nullopt, kHard},
        {"chain off the board", opening.c_str(), 2, Position{8, 2}, kHard},
        {"chain on an empty square", opening.c_str(), 2, Position{0, 0}, kHard},
        {"chain on the other team", opening.c_str(), 2, Position{0, 1}, kMedium},
        {"chain piece that cannot jump", "12000000000000000000000000000002", 2, Position{7, 3},
         kEasy},
    };
    std::mt19937_64 rng(1);
    for (const Case& c : cases) {
        EXPECT_THROW(chooseAiMove(c.board, c.team, c.chain, c.level, rng), std::invalid_argument)
            << c.why;
    }
}

}  // namespace
}  // namespace karvel::service::engine
