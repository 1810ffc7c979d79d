// The engine's bitboard rules against the rules library, on random boards and on boards of
// random games.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Board.h"
#include "GameState.h"
#include "IslandScore.h"
#include "RandomPlayouts.h"

namespace karvel::service::engine {
namespace {

using testing::randomBoard;
using testing::randomGame;

std::vector<Board> sampleBoards() {
    std::mt19937_64 rng(7);
    constexpr int kRandomBoards = 400;
    std::vector<Board> boards;
    boards.reserve(kRandomBoards);
    for (int i = 0; i < kRandomBoards; ++i) {
        boards.push_back(randomBoard(rng));
    }
    for (int game = 0; game < 20; ++game) {
        for (const auto& point : randomGame(rng)) {
            boards.push_back(point.board);
        }
    }
    return boards;
}

TEST(BitboardRules, IslandScoresMatchTheRulesLibrary) {
    for (const Board& board : sampleBoards()) {
        const GameState state = stateFromBoardText(board.toString(), 1, GameState::kNoChain);
        ASSERT_EQ(islandScore(state.mover, state.other), board.calculateScore(1))
            << board.toString();
        ASSERT_EQ(islandScore(state.other, state.mover), board.calculateScore(2))
            << board.toString();
    }
}

TEST(BitboardRules, IslandScoresOfSmallShapes) {
    struct Case {
        const char* board;
        int scoreOfTeam1;
    };
    const Case cases[] = {
        {"10000000000000000000000000000000", 1},
        {"10000000010000000000000000000000", 3},  // diagonal neighbours form one island
        {"11111000000000000000000000000000", 9},
        {"11111100000000000000000000000000", 0},  // six pieces score nothing
        {"10000000000000000000000000000001", 2},
        {"10000000020000000000000000000000", 0},  // touching the other team diagonally
        {"11100000000000000000000000000021", 5},
    };
    for (const Case& c : cases) {
        const GameState state = stateFromBoardText(c.board, 1, GameState::kNoChain);
        EXPECT_EQ(islandScore(state.mover, state.other), c.scoreOfTeam1) << c.board;
    }
}

TEST(BitboardRules, JumpsAreTheLibrarysMovesInTheSameOrder) {
    for (const Board& board : sampleBoards()) {
        for (Piece team : {1, 2}) {
            std::vector<Move> expected;
            for (const Position& from : board.getPositionsWithMoves(team)) {
                for (const Position& to : board.getMoves(from)) {
                    expected.push_back(Move{from, to});
                }
            }
            std::vector<Move> actual;
            const GameState state = stateFromBoardText(board.toString(), team, GameState::kNoChain);
            for (const Jump& jump : listJumps(state)) {
                actual.push_back(Move{{columnOf(jump.from), rowOf(jump.from)},
                                      {columnOf(jump.to), rowOf(jump.to)}});
                EXPECT_EQ(Board::midPoint(actual.back().from, actual.back().to),
                          (Position{columnOf(jump.over), rowOf(jump.over)}));
            }
            ASSERT_EQ(actual, expected) << board.toString() << " team " << team;
            EXPECT_EQ(hasAnyJump(state.mover, state.other), board.hasAnyMoreMoves(team));
        }
    }
}

TEST(BitboardRules, AJumpLeadsToTheLibrarysBoardAndTurn) {
    for (const Board& board : sampleBoards()) {
        const GameState state = stateFromBoardText(board.toString(), 2, GameState::kNoChain);
        for (const Jump& jump : listJumps(state)) {
            const Move move{{columnOf(jump.from), rowOf(jump.from)},
                            {columnOf(jump.to), rowOf(jump.to)}};
            Board expected = board.clone();
            expected.move(move);
            const bool goesOn = !expected.getMoves(move.to).empty();

            const GameState next = stateAfterJump(state, jump);
            EXPECT_EQ(next.chain, goesOn ? jump.to : GameState::kNoChain);
            EXPECT_EQ(boardTextOf(next, goesOn ? 2 : 1), expected.toString());
            if (goesOn) {
                EXPECT_EQ(stateAfterPass(next),
                          (GameState{next.other, next.mover, GameState::kNoChain}));
                const JumpList chained = listJumps(next);
                ASSERT_FALSE(chained.empty());
                for (const Jump& onward : chained) {
                    EXPECT_EQ(onward.from, jump.to);
                }
            }
        }
    }
}

}  // namespace
}  // namespace karvel::service::engine
