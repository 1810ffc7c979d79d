#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Board.h"
#include "PieceTools.h"

namespace karvel {
namespace {

const std::string kOpening = "00000000111111112222222200000000";

TEST(PieceToolsTest, TextOfCodes) {
    struct Case {
        Piece piece;
        std::string text;
    };
    for (const Case& c : std::vector<Case>{{0, "0"}, {1, "1"}, {2, "2"}, {3, "0"}, {-1, "0"}}) {
        EXPECT_EQ(PieceTools::toString(c.piece), c.text) << c.piece;
    }
}

TEST(PieceToolsTest, CodesOfTextsCompareTheWholeText) {
    struct Case {
        std::string text;
        Piece piece;
    };
    for (const Case& c : std::vector<Case>{{"0", 0},
                                           {"1", 1},
                                           {"2", 2},
                                           {"", 0},
                                           {"X", 0},
                                           {"O", 0},
                                           {"11", 0},
                                           {"12", 0},
                                           {" 1", 0}}) {
        EXPECT_EQ(PieceTools::fromString(c.text), c.piece) << '"' << c.text << '"';
    }
    EXPECT_EQ(PieceTools::fromString(std::nullopt), 0);
}

TEST(BoardTextTest, OpeningPositionText) {
    EXPECT_EQ(Board::newGame().toString(), kOpening);
    EXPECT_EQ(Board().toString(), std::string(32, '0'));
}

TEST(BoardTextTest, ShortTextsFillTheLeadingSquaresOnly) {
    EXPECT_EQ(Board::fromString("").toString(), std::string(32, '0'));

    const Board two = Board::fromString("12");
    EXPECT_EQ(two.pieceAt({0, 0}), 1);
    EXPECT_EQ(two.pieceAt({1, 0}), 2);
    EXPECT_EQ(two.toString(), "12" + std::string(30, '0'));
}

TEST(BoardTextTest, CharacterIndexGivesRowAndColumn) {
    std::string text(32, '0');
    text[8] = '1';
    text[31] = '2';
    const Board board = Board::fromString(text);
    EXPECT_EQ(board.pieceAt({0, 1}), 1);
    EXPECT_EQ(board.pieceAt({7, 3}), 2);
    EXPECT_EQ(board.getPositions(1).size(), 1u);
    EXPECT_EQ(board.getPositions(2).size(), 1u);
}

TEST(BoardTextTest, ForeignCharactersAreEmptySquares) {
    EXPECT_EQ(Board::fromString("XO. 1\t2\xff").toString(), "00001020" + std::string(24, '0'));
}

TEST(BoardTextTest, CharactersPastTheLastSquareAreIgnored) {
    const std::string longText = kOpening + "2222222211111111" + std::string(1000, '1');
    EXPECT_EQ(Board::fromString(longText).toString(), kOpening);
}

TEST(BoardTextTest, EveryBoardTextRoundTrips) {
    // A deterministic walk through many texts made of the three digits.
    std::uint32_t state = 12345;
    for (int n = 0; n < 500; ++n) {
        std::string text;
        for (int k = 0; k < 32; ++k) {
            state = state * 1103515245u + 12345u;
            text += static_cast<char>('0' + (state >> 16) % 3);
        }
        EXPECT_EQ(Board::fromString(text).toString(), text);
    }
}

TEST(BoardTextTest, CloneIsIndependent) {
    const Board source = Board::newGame();
    Board copy = source.clone();
    copy.board[1][3] = 0;
    EXPECT_EQ(source.pieceAt({3, 1}), 1);
    EXPECT_EQ(source.toString(), kOpening);
}

TEST(BoardSquaresTest, BoundsAndLookupsOffTheBoard) {
    const Board board = Board::newGame();
    struct Case {
        Position p;
        bool inBounds;
    };
    const std::vector<Case> cases{{{0, 0}, true},
                                  {{7, 3}, true},
                                  {{-1, 0}, false},
                                  {{8, 0}, false},
                                  {{0, -1}, false},
                                  {{0, 4}, false},
                                  {{INT32_MIN, INT32_MIN}, false},
                                  {{INT32_MAX, 1}, false},
                                  {{1, INT32_MAX}, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(board.isInBounds(c.p), c.inBounds) << Position::toString(c.p);
        if (!c.inBounds) {
            EXPECT_EQ(board.pieceAt(c.p), 0) << Position::toString(c.p);
        }
    }
}

TEST(BoardSquaresTest, PositionsOfATeamInBoardOrder) {
    const Board board = Board::newGame();
    std::vector<Position> row1;
    std::vector<Position> row2;
    for (int x = 0; x < 8; ++x) {
        row1.push_back({x, 1});
        row2.push_back({x, 2});
    }
    EXPECT_EQ(board.getPositions(1), row1);
    EXPECT_EQ(board.getPositions(2), row2);
    EXPECT_TRUE(board.getPositions(0).empty());
    EXPECT_TRUE(Board().getPositions(0).empty());

    const Board mixed = Board::fromString(
        "01000000"
        "00000000"
        "10000001"
        "00000010");
    EXPECT_EQ(mixed.getPositions(1), (std::vector<Position>{{1, 0}, {0, 2}, {7, 2}, {6, 3}}));
}

}  // namespace
}  // namespace karvel
