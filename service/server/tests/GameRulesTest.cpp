#include <gtest/gtest.h>

#include "Board.h"
#include "GameRules.h"

namespace karvel::service::server {
namespace {

const std::string kOne = "11111111111111111111111111111111";
const std::string kTwo = "22222222222222222222222222222222";

GameRecord gameInPlay(const std::string& board, Piece toMove) {
    GameRecord game = openGame("id", 2, kTwo);
    game.playerOne = kOne;
    game.state = GameState::inPlay;
    game.board = board;
    game.currentPlayer = toMove;
    return game;
}

// X on (0,0) can jump (1,0) then (3,0); one more X far away on (6,3).
const std::string kChainBoard =
    "21010000"
    "00000000"
    "00000000"
    "00000020";

TEST(GameRulesTest, AJumpThatCanGoOnKeepsTheTurnForThatPieceOnly) {
    GameRecord game = gameInPlay(kChainBoard, 2);
    ASSERT_FALSE(applyJump(game, 2, Move{{0, 0}, {2, 0}}));
    EXPECT_EQ(game.currentPlayer, 2);
    ASSERT_TRUE(game.chainFrom);
    EXPECT_EQ(*game.chainFrom, (Position{2, 0}));
    EXPECT_EQ(game.version, 1);

    const Outcome otherPiece = applyJump(game, 2, Move{{6, 3}, {4, 3}});
    ASSERT_TRUE(otherPiece);
    EXPECT_EQ(otherPiece->status, 409);

    ASSERT_FALSE(applyJump(game, 2, Move{{2, 0}, {4, 0}}));
    // Team 1 has no piece left, so it cannot jump at the start of its turn: the game ends.
    EXPECT_EQ(game.state, GameState::ended);
    EXPECT_FALSE(game.chainFrom);
    EXPECT_EQ(game.board, "00002000000000000000000000000020");
}

TEST(GameRulesTest, PassEndsAChainAndIsRefusedOutsideOne) {
    GameRecord game = gameInPlay(Board::newGame().toString(), 2);
    EXPECT_EQ(passTurn(game, 2)->status, 409);
    game.board = kChainBoard;
    ASSERT_FALSE(applyJump(game, 2, Move{{0, 0}, {2, 0}}));
    EXPECT_EQ(passTurn(game, 1)->status, 409) << "not team 1's turn";
    ASSERT_FALSE(passTurn(game, 2));
    EXPECT_EQ(game.currentPlayer, 1);
    EXPECT_FALSE(game.chainFrom);
    // Team 1's piece on (3,0) can jump back over (2,0), so play goes on.
    EXPECT_EQ(game.state, GameState::inPlay);
}

TEST(GameRulesTest, RefusedJumpsLeaveTheGameUnchanged) {
    struct Case {
        const char* what;
        Piece team;
        Move move;
        int status;
    };
    const Case cases[] = {
        {"not a jump", 2, {{0, 2}, {0, 1}}, 409},
        {"over an empty square", 2, {{0, 2}, {2, 2}}, 409},
        {"the opponent's piece", 2, {{0, 1}, {0, 3}}, 409},
        {"out of turn", 1, {{0, 1}, {0, 3}}, 409},
        {"off the board", 2, {{0, 2}, {-2, 0}}, 400},
    };
    for (const Case& c : cases) {
        GameRecord game = gameInPlay(Board::newGame().toString(), 2);
        const GameRecord before = game;
        const Outcome refusal = applyJump(game, c.team, c.move);
        ASSERT_TRUE(refusal) << c.what;
        EXPECT_EQ(refusal->status, c.status) << c.what;
        EXPECT_EQ(game.board, before.board) << c.what;
        EXPECT_EQ(game.version, before.version) << c.what;
    }
}

TEST(GameRulesTest, SeatsAreTakenOnceAndPlayersKnownBySecret) {
    GameRecord game = openGame("id", 1, kOne);
    EXPECT_EQ(applyJump(game, 1, Move{{0, 1}, {0, 3}})->status, 409) << "still waiting";
    Piece team = 0;
    ASSERT_FALSE(seatSecondPlayer(game, kTwo, team));
    EXPECT_EQ(team, 2);
    EXPECT_EQ(game.state, GameState::inPlay);
    EXPECT_EQ(seatSecondPlayer(game, kTwo, team)->status, 409);
    EXPECT_EQ(seatAi(game)->status, 409);
    EXPECT_EQ(teamOfPlayer(game, kOne), 1);
    EXPECT_EQ(teamOfPlayer(game, kTwo), 2);
    EXPECT_EQ(teamOfPlayer(game, "00000000000000000000000000000000"), 0);
}

TEST(GameRulesTest, OnlyTheHumanOfAnAiGameMayAskForTheAiMoveOnItsTurn) {
    GameRecord game = openGame("id", 1, kOne);
    EXPECT_EQ(checkAiMayMove(game, 1)->status, 403) << "no AI yet";
    ASSERT_FALSE(seatAi(game));
    EXPECT_EQ(game.aiTeam, 2);
    EXPECT_FALSE(checkAiMayMove(game, 1));
    EXPECT_EQ(checkAiMayMove(game, 0)->status, 403);
    game.currentPlayer = 1;
    EXPECT_EQ(checkAiMayMove(game, 1)->status, 409);
}

}  // namespace
}  // namespace karvel::service::server
