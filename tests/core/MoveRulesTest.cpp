#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "Board.h"
#include "error/OccupiedSpaceError.h"

namespace karvel {
namespace {

using Positions = std::vector<Position>;

TEST(MidPointTest, RoundsTowardsPlusInfinityEitherWay) {
    struct Case {
        Position a;
        Position b;
        Position mid;
    };
    const std::vector<Case> cases{
        {{0, 0}, {3, 0}, {2, 0}},     {{3, 0}, {0, 0}, {2, 0}},
        {{2, 2}, {4, 2}, {3, 2}},     {{4, 0}, {2, 2}, {3, 1}},
        {{-1, 0}, {0, -1}, {0, 0}},   {{5, 5}, {5, 5}, {5, 5}},
        {{-3, -3}, {0, 0}, {-1, -1}}, {{INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}, {0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Board::midPoint(c.a, c.b), c.mid)
            << Position::toString(c.a) << " " << Position::toString(c.b);
    }
}

TEST(GetMovesTest, OpeningPosition) {
    const Board board = Board::newGame();
    struct Case {
        Position from;
        Positions moves;
    };
    const std::vector<Case> cases{
        {{0, 1}, {{0, 3}, {2, 3}}},
        {{3, 1}, {{1, 3}, {3, 3}, {5, 3}}},
        {{7, 1}, {{5, 3}, {7, 3}}},
        {{0, 2}, {{0, 0}, {2, 0}}},
        {{3, 0}, {}},  // empty square
        {{-1, 1}, {}},
        {{8, 2}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(board.getMoves(c.from), c.moves) << Position::toString(c.from);
    }
}

TEST(GetMovesTest, OnlyJumpsOverTheOtherTeamOntoEmptySquares) {
    // Piece 1 on C3 (2, 2): its own piece east, an opponent west onto an occupied square, an
    // opponent north-east onto an empty square, and an empty square south.
    const Board board = Board::fromString(
        "00000000"
        "00020000"
        "12110000"
        "00000000");
    EXPECT_EQ(board.getMoves({2, 2}), (Positions{{4, 0}}));
    // The team-2 piece at (1, 2) may jump east over (2, 2) only if (3, 2) were free; it is not.
    EXPECT_TRUE(board.getMoves({1, 2}).empty());
    EXPECT_EQ(board.getPositionsWithMoves(1), (Positions{{2, 2}, {3, 2}}));
    EXPECT_EQ(board.getPositionsWithMoves(2), (Positions{{3, 1}}));
}

TEST(GetMovesTest, JumpsComeInTableOrderAndStayOnTheBoard) {
    // Team 2 at the centre of a ring of team-1 pieces with every landing square free.
    const Board board = Board::fromString(
        "00000000"
        "00111000"
        "00121000"
        "00111000");
    // Jumps towards row "A" first, then sideways; the ones past row "D" do not exist.
    EXPECT_EQ(board.getMoves({3, 2}), (Positions{{1, 0}, {3, 0}, {5, 0}, {1, 2}, {5, 2}}));
}

TEST(MovableTeamsTest, OpeningAndTeamZero) {
    const Board board = Board::newGame();
    EXPECT_EQ(board.getPositionsWithMoves(1), board.getPositions(1));
    EXPECT_EQ(board.getPositionsWithMoves(2), board.getPositions(2));
    EXPECT_TRUE(board.hasAnyMoreMoves(1));
    EXPECT_TRUE(board.hasAnyMoreMoves(2));
    EXPECT_TRUE(board.getPositionsWithMoves(0).empty());
    EXPECT_FALSE(board.hasAnyMoreMoves(0));
    EXPECT_FALSE(Board::fromString("1").hasAnyMoreMoves(1));
}

TEST(IsValidMoveTest, Cases) {
    const Board board = Board::newGame();
    struct Case {
        Move move;
        bool valid;
    };
    const std::vector<Case> cases{
        {{{0, 1}, {0, 3}}, true},
        {{{0, 1}, {2, 3}}, true},
        {{{0, 1}, {1, 3}}, false},  // dx 1
        {{{0, 1}, {4, 1}}, false},  // occupied, and a distance of 4
        {{{0, 2}, {0, 0}}, true},
        {{{0, 0}, {0, 2}}, false},   // occupied landing
        {{{0, 3}, {0, 1}}, false},   // occupied landing
        {{{0, 1}, {0, 0}}, false},   // a step, not a jump
        {{{0, 1}, {0, -1}}, false},  // jumps over an empty square off the board's edge
        {{{INT32_MIN, 0}, {INT32_MAX, 0}}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(board.isValidMove(c.move), c.valid)
            << Position::toString(c.move.from) << " -> " << Position::toString(c.move.to);
    }
    // From an empty square the jumped piece must be team 2, the opposing team of 0.
    const Board lone = Board::fromString("0000000002000000");
    EXPECT_TRUE(lone.isValidMove({{1, 0}, {1, 2}}));
}

TEST(MoveTest, JumpRemovesTheJumpedPiece) {
    Board board = Board::newGame();
    board.move({{3, 1}, {3, 3}});
    EXPECT_EQ(board.toString(),
              "00000000"
              "11101111"
              "22202222"
              "00010000");
}

TEST(MoveTest, OccupiedLandingRaisesAndChangesNothing) {
    Board board = Board::newGame();
    try {
        board.move({{3, 1}, {3, 2}});
        FAIL() << "no error raised";
    } catch (const error::OccupiedSpaceError& e) {
        EXPECT_EQ(e.message, "Position \"{x: 3, y: 2}\" taken by 2");
        EXPECT_EQ(e.type, "OCCUPIED_SPACE_ERROR");
    }
    EXPECT_EQ(board.toString(), Board::newGame().toString());
}

TEST(MoveTest, WritesOffTheBoardAreDropped) {
    struct Case {
        Move move;
        std::string after;
    };
    const std::string opening = Board::newGame().toString();
    const std::vector<Case> cases{
        // The landing is off the board: the piece leaves its square and lands nowhere.
        {{{0, 1}, {0, -1}},
         "00000000"
         "01111111"
         "22222222"
         "00000000"},
        // The piece comes from off the board: an empty code lands, the jumped piece leaves.
        {{{0, 4}, {0, 0}},
         "00000000"
         "11111111"
         "02222222"
         "00000000"},
        {{{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}}, opening},
        {{{-5, 9}, {100, -40}}, opening},
    };
    for (const Case& c : cases) {
        Board board = Board::newGame();
        board.move(c.move);
        EXPECT_EQ(board.toString(), c.after)
            << Position::toString(c.move.from) << " -> " << Position::toString(c.move.to);
    }
}

// On many random boards, the listing and the check must agree square by square, and every
// listed move must do what a jump does.
TEST(MoveRulesAgreementTest, GetMovesAndIsValidMoveAgreeOnRandomBoards) {
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> digit(0, 2);
    for (int n = 0; n < 3000; ++n) {
        std::string text;
        for (int k = 0; k < 32; ++k) {
            text += static_cast<char>('0' + digit(random));
        }
        const Board board = Board::fromString(text);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 8; ++x) {
                const Position from{x, y};
                const Positions moves = board.getMoves(from);
                for (int ty = -2; ty < 6; ++ty) {
                    for (int tx = -2; tx < 10; ++tx) {
                        const Position to{tx, ty};
                        const bool listed =
                            std::find(moves.begin(), moves.end(), to) != moves.end();
                        if (board.pieceAt(from) != 0 && board.isInBounds(to)) {
                            ASSERT_EQ(board.isValidMove({from, to}), listed)
                                << text << " " << Position::toString(from) << " -> "
                                << Position::toString(to);
                        } else {
                            ASSERT_FALSE(listed) << text << " " << Position::toString(to);
                        }
                    }
                }
                for (const Position& to : moves) {
                    Board after = board.clone();
                    after.move({from, to});
                    EXPECT_EQ(after.pieceAt(to), board.pieceAt(from));
                    EXPECT_EQ(after.pieceAt(from), 0);
                    EXPECT_EQ(after.pieceAt(Board::midPoint(from, to)), 0);
                }
            }
        }
        for (Piece team : {1, 2}) {
            const Positions movable = board.getPositionsWithMoves(team);
            EXPECT_EQ(board.hasAnyMoreMoves(team), !movable.empty()) << text;
        }
    }
}

}  // namespace
}  // namespace karvel
