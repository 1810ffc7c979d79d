// The fast solver and the Hard AI against the plain exhaustive search of ReferenceSearch, on the
// decision points of seeded random games.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "Ai.h"
#include "GameState.h"
#include "HorizonSearch.h"
#include "RandomPlayouts.h"
#include "ReferenceSearch.h"
#include "Solver.h"

namespace karvel::service::engine {
namespace {

using testing::DecisionPoint;
using testing::ReferenceSearch;

// Points late enough in their game for the plain search to finish quickly.
constexpr int kFirstJumpsSkipped = 4;
constexpr int kGames = 12;

std::vector<DecisionPoint> decisionPoints() {
    std::mt19937_64 rng(2024);
    std::vector<DecisionPoint> points;
    for (int game = 0; game < kGames; ++game) {
        const auto all = testing::randomGame(rng);
        for (std::size_t i = kFirstJumpsSkipped; i < all.size(); ++i) {
            points.push_back(all[i]);
        }
    }
    return points;
}

GameState stateOf(const DecisionPoint& point) {
    return stateFromBoardText(
        point.board.toString(), point.team,
        point.chain ? squareOf(point.chain->x, point.chain->y) : GameState::kNoChain);
}

class SolverAgainstReference : public ::testing::Test {
protected:
    ReferenceSearch reference;
    std::vector<DecisionPoint> points = decisionPoints();
};

TEST_F(SolverAgainstReference, ValuesAreExact) {
    ASSERT_GT(points.size(), 50u);
    TranspositionTable table(16);
    for (const DecisionPoint& point : points) {
        Solver solver(table);
        ASSERT_EQ(solver.value(stateOf(point)),
                  reference.value(point.board, point.team, point.chain))
            << point.board.toString() << " team " << point.team;
    }
}

TEST_F(SolverAgainstReference, ATableTooSmallToHoldTheSearchStillGivesExactValues) {
    TranspositionTable table(3);
    for (std::size_t i = 0; i < points.size(); i += 4) {
        Solver solver(table);
        ASSERT_EQ(solver.value(stateOf(points[i])),
                  reference.value(points[i].board, points[i].team, points[i].chain))
            << points[i].board.toString();
    }
}

TEST_F(SolverAgainstReference, WindowsGiveBoundsOnTheRightSide) {
    TranspositionTable table(16);
    for (std::size_t i = 0; i < points.size(); i += 3) {
        const int exact = reference.value(points[i].board, points[i].team, points[i].chain);
        for (const int alpha : {exact - 2, exact - 1, exact, exact + 1}) {
            Solver solver(table);
            const int bound = solver.valueWithin(stateOf(points[i]), alpha, alpha + 1);
            if (exact <= alpha) {
                EXPECT_LE(bound, alpha);
                EXPECT_GE(bound, exact);
            } else {
                EXPECT_GE(bound, alpha + 1);
                EXPECT_LE(bound, exact);
            }
        }
    }
}

TEST_F(SolverAgainstReference, HardChoicesAreOptimal) {
    std::mt19937_64 rng(5);
    for (const DecisionPoint& point : points) {
        const AiChoice choice =
            chooseAiMove(point.board.toString(), point.team, point.chain, kHard, rng);
        ASSERT_TRUE(point.board.isValidMove(choice.move));
        EXPECT_EQ(reference.choiceValue(point.board, point.team, choice.move, choice.keepJumping),
                  reference.bestJumpValue(point.board, point.team, point.chain))
            << point.board.toString() << " team " << point.team;
    }
}

TEST_F(SolverAgainstReference, AHorizonPastTheEndOfTheGameIsExact) {
    constexpr int kJumpsLeftInAnyGame = 16;
    constexpr std::size_t kFewPieces = 9;
    HorizonSearch search(kJumpsLeftInAnyGame);
    for (const DecisionPoint& point : points) {
        if (point.board.getPositions(1).size() + point.board.getPositions(2).size() > kFewPieces) {
            continue;
        }
        const GameState state = stateOf(point);
        for (const Jump& jump : listJumps(state)) {
            const Move move{{columnOf(jump.from), rowOf(jump.from)},
                            {columnOf(jump.to), rowOf(jump.to)}};
            ASSERT_EQ(search.valueForMover(stateAfterJump(state, jump)),
                      reference.jumpValue(point.board, point.team, move))
                << point.board.toString();
        }
    }
}

TEST(HardAi, BreaksTiesAtRandom) {
    const std::string opening = Board::newGame().toString();
    std::set<std::pair<std::string, bool>> seen;
    for (std::uint64_t seed = 0; seed < 30; ++seed) {
        std::mt19937_64 rng(seed);
        const AiChoice choice = chooseAiMove(opening, 2, std::nullopt, kHard, rng);
        seen.emplace(Position::toString(choice.move.from) + Position::toString(choice.move.to),
                     choice.keepJumping);
    }
    EXPECT_GT(seen.size(), 1u);
}

}  // namespace
}  // namespace karvel::service::engine
