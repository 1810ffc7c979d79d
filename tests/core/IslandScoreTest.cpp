#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Board.h"
#include "error/NotIslandError.h"

namespace karvel {
namespace {

TEST(CalculateScoreTest, Table) {
    struct Case {
        const char* name;
        std::string board;
        int team1;
        int team2;
    };
    const std::vector<Case> cases{
        {"single piece",
         "00000000"
         "00010000"
         "00000000"
         "00000000",
         1, 0},
        {"diagonal pair",
         "10000000"
         "01000000"
         "00000000"
         "00000000",
         3, 0},
        {"five in a row",
         "11111000"
         "00000000"
         "00000000"
         "00000000",
         9, 0},
        {"six in a row",
         "11111100"
         "00000000"
         "00000000"
         "00000000",
         0, 0},
        {"islands of 1 and 3",
         "10000000"
         "00000111"
         "00000000"
         "00000000",
         6, 0},
        {"diagonal opponents",
         "00000000"
         "00100000"
         "00020000"
         "00000000",
         0, 0},
        {"opening",
         "00000000"
         "11111111"
         "22222222"
         "00000000",
         0, 0},
        {"both teams score",
         "11000022"
         "00000002"
         "00000000"
         "20000001",
         4, 6},
        // A group of 4 that touches the other team scores nothing, though a lone piece does.
        {"touching group",
         "11110000"
         "00002000"
         "00000000"
         "00000001",
         1, 0},
        {"empty", std::string(32, '0'), 0, 0},
    };
    for (const Case& c : cases) {
        const Board board = Board::fromString(c.board);
        EXPECT_EQ(board.calculateScore(1), c.team1) << c.name;
        EXPECT_EQ(board.calculateScore(2), c.team2) << c.name;
        EXPECT_EQ(board.calculateScore(0), 0) << c.name;
    }
}

TEST(GetIslandTest, WalkOrderStartsAtTheStart) {
    // An L-shaped island entered from its far end.
    const Board board = Board::fromString(
        "00000000"
        "01000000"
        "01000000"
        "01100000");
    EXPECT_EQ(board.getIsland({2, 3}), (std::vector<Position>{{2, 3}, {1, 2}, {1, 3}, {1, 1}}));
    const Board lone = Board::fromString(
        "00000000"
        "00000001");
    EXPECT_EQ(lone.getIsland({7, 1}), (std::vector<Position>{{7, 1}}));
}

TEST(GetIslandTest, NamesTheSquareThatBreaksTheIsland) {
    struct Case {
        Board board;
        Position start;
        std::string message;
    };
    const std::vector<Case> cases{
        // Walk from (0, 1) meets (0, 0), (1, 0), its own (1, 1), then team 2 at (0, 2).
        {Board::newGame(), {0, 1}, "\"{x: 0, y: 2}\" not Island"},
        {Board::newGame(), {4, 0}, "\"{x: 4, y: 0}\" not Island"},  // empty start
        {Board::newGame(), {-1, 9}, "\"{x: -1, y: 9}\" not Island"},
    };
    for (const Case& c : cases) {
        try {
            (void)c.board.getIsland(c.start);
            ADD_FAILURE() << "no error for " << Position::toString(c.start);
        } catch (const error::NotIslandError& e) {
            EXPECT_EQ(e.message, c.message);
            EXPECT_EQ(e.type, "NOT_ISLAND_ERROR");
        }
    }
}

}  // namespace
}  // namespace karvel
