// Whole games through the real controller and service client.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ControllerFixture.h"

namespace karvel::scripted {
namespace {

using Journal = std::vector<std::string>;

std::string movableText(const std::string& board, Piece team) {
    return squaresText(Board::fromString(board).getPositionsWithMoves(team));
}

std::string movesText(const std::string& board, const Position& from) {
    return squaresText(Board::fromString(board).getMoves(from));
}

TEST_F(ControllerTest, WholeGameAgainstTheAi) {
    // The AI plays team 2 and moves first; the user answers; the service then ends the game.
    const std::string afterAi =
        "20000000"
        "01111111"
        "02222222"
        "00000000";
    const std::string afterUser =
        "20000000"
        "00111111"
        "00222222"
        "01000000";
    http.reply("/create", 200, R"({"id":"G","player":"P"})");
    http.reply("/game/G/ai/join", 200, "{}");
    http.reply("/game/G", 200, gameReply(1, 2, kOpening));
    http.reply(
        "/game/G/ai/move/", 200,
        R"({"board":")" + afterAi +
            R"(","currentPlayer":1,"state":1,"lastMove":{"from":{"x":0,"y":2},"to":{"x":0,"y":0}}})");
    http.reply("/game/G", 200, gameReply(1, 1, afterAi));
    http.reply("/game/G/move", 200, gameReply(1, 2, afterUser));
    http.reply("/game/G", 200, gameReply(2, 2, afterUser));
    display.gameStart.then(StartChoice::AI);
    display.aiLevel.then(1);
    display.teamChoice.then(1);
    display.moveFrom.then(Position{1, 1});
    display.moveTo.then(Position{1, 3});
    display.again.then(false);

    makeManager();
    runToExit();

    EXPECT_EQ(
        takeJournal(),
        (Journal{
            "getGameStart",
            "getAiLevel",
            "getTeamChoice",
            R"(POST /create {"startingAs":1})",
            "GET /game/G/ai/join",
            "GET /game/G",
            "showBoard 2 false 1 " + std::string(kOpening),
            R"(POST /game/G/ai/move/ {"player":"P","level":1})",
            // The board first, then the report of the AI's move, then the pause.
            "showBoard 1 true 1 " + afterAi,
            "showLastMove 2 (0,2)->(0,0)",
            "sleep 1",
            "sleep 1",
            "GET /game/G",
            "showBoard 1 true 1 " + afterAi,
            "requestNextMoveFrom 1 " + movableText(afterAi, 1),
            "requestNextMoveTo 1 " + movesText(afterAi, {1, 1}),
            R"(POST /game/G/move {"player":"P","move":{"to":{"x":1,"y":3},"from":{"x":1,"y":1}}})",
            "showBoard 2 false 1 " + afterUser,
            "sleep 1",
            "GET /game/G",
            "showBoard 2 false 2 " + afterUser,
            "endGame 2:1 1:0 " + afterUser,
            "sleep 1",
            "playAgain",
            "exit",
        }));
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(manager->isPlaying);
    EXPECT_EQ(manager->lastPosition, (Position{1, 3}));
}

TEST_F(ControllerTest, CreatedHumanGameWithAFollowUpJump) {
    // The user plays team 2; the opponent has just jumped from (1, 1) to (1, 3).
    const std::string opponentMoved =
        "00000000"
        "10111111"
        "20222222"
        "01000000";
    const std::string chain =
        "00200000"
        "10011111"
        "20020222"
        "01000000";
    const std::string afterChain =
        "00000000"
        "10001111"
        "20022222"
        "01000000";
    http.reply("/create", 200, R"({"id":"G","player":"P"})");
    http.reply("/game/G", 200, gameReply(0, 1, std::string(32, '0')));
    // In play with the opponent to move: currentPlayer is still the 1 that create stored and
    // the waiting poll cleared the redraw, but no board has been drawn yet, so it is drawn now.
    http.reply("/game/G", 200, gameReply(1, 1, kOpening));
    http.reply("/game/G", 200, gameReply(1, 2, opponentMoved));
    http.reply("/game/G/move", 200, gameReply(1, 2, chain));
    http.reply("/game/G", 200, gameReply(1, 2, chain, true));
    http.reply("/game/G/move", 200, gameReply(1, 1, afterChain));
    http.reply("/game/G", 200, gameReply(1, 1, afterChain));
    http.reply("/game/G", 200, gameReply(2, 1, afterChain));
    display.gameStart.then(StartChoice::CREATE);
    display.teamChoice.then(2);
    display.moveFrom.then(Position{2, 2});
    display.moveTo.then(Position{2, 0});
    display.followUp.then(Move{{2, 0}, {4, 2}});
    display.again.then(false);

    makeManager();
    runToExit();

    EXPECT_EQ(
        takeJournal(),
        (Journal{
            "getGameStart",
            "getTeamChoice",
            R"(POST /create {"startingAs":2})",
            "invite G",
            "GET /game/G",
            "sleep 1",
            "GET /game/G",
            "showBoard 1 false 1 " + std::string(kOpening),
            "sleep 1",
            "GET /game/G",
            "showBoard 2 true 1 " + opponentMoved,
            "requestNextMoveFrom 2 " + movableText(opponentMoved, 2),
            "requestNextMoveTo 2 " + movesText(opponentMoved, {2, 2}),
            R"(POST /game/G/move {"player":"P","move":{"to":{"x":2,"y":0},"from":{"x":2,"y":2}}})",
            "showBoard 2 true 1 " + chain,
            "sleep 1",
            "GET /game/G",
            // Drawn for the follow-up question although currentPlayer did not change.
            "showBoard 2 true 1 " + chain,
            "requestFollowUpMove 2 (2,0) [(4,2)]",
            R"(POST /game/G/move {"player":"P","move":{"to":{"x":4,"y":2},"from":{"x":2,"y":0}}})",
            "showBoard 1 false 1 " + afterChain,
            "sleep 1",
            "GET /game/G",
            "showBoard 1 false 1 " + afterChain,
            "sleep 1",
            "GET /game/G",
            "endGame 2:0 1:0 " + afterChain,
            "sleep 1",
            "playAgain",
            "exit",
        }));
    EXPECT_EQ(manager->team, 2);
    EXPECT_EQ(manager->gameId, "G");
    EXPECT_EQ(manager->playerId, "P");
    EXPECT_EQ(manager->lastPosition, (Position{4, 2}));
}

TEST_F(ControllerTest, JoinedGameTakesIdsAndTeamFromTheReply) {
    const std::string board =
        "00000000"
        "11111111"
        "22222222"
        "00000000";
    http.reply("/game/typed-id/join", 200, R"({"id":"G2","player":"P2","team":1})");
    http.reply("/game/G2", 200, gameReply(1, 2, board));
    http.reply("/game/G2", 200, gameReply(2, 2, board));
    display.gameStart.then(StartChoice::JOIN);
    display.gameIdEntry.then("typed-id");
    display.again.then(true);  // then the start question finds no more input

    makeManager();
    runToExit();

    EXPECT_EQ(takeJournal(), (Journal{
                                 "getGameStart",
                                 "getGameId",
                                 "GET /game/typed-id/join",
                                 "GET /game/G2",
                                 "showBoard 2 false 1 " + board,
                                 "sleep 1",
                                 "GET /game/G2",
                                 "endGame 2:0 1:0 " + board,
                                 "sleep 1",
                                 "playAgain",
                                 "getGameStart",
                                 "exit",
                             }));
    EXPECT_EQ(manager->gameId, "G2");
    EXPECT_EQ(manager->playerId, "P2");
    EXPECT_EQ(manager->team, 1);
    EXPECT_EQ(manager->currentPlayer, 2);
    EXPECT_FALSE(manager->aiMode);
}

TEST_F(ControllerTest, NextGameForgetsTheAiOpponent) {
    // An AI game ends; the user then creates a human game and after that joins one: neither
    // may ask the service for an AI move or an AI join.
    http.reply("/create", 200, R"({"id":"G","player":"P"})");
    http.reply("/game/G/ai/join", 200, "{}");
    http.reply("/game/G", 200, gameReply(2, 1, kOpening));
    http.reply("/create", 200, R"({"id":"H","player":"Q"})");
    http.reply("/game/H", 200, gameReply(1, 2, kOpening));
    http.reply("/game/H", 200, gameReply(2, 2, kOpening));
    http.reply("/game/J/join", 200, R"({"id":"J","player":"R","team":2})");
    http.reply("/game/J", 200, gameReply(1, 1, kOpening));
    display.gameStart.then(StartChoice::AI).then(StartChoice::CREATE).then(StartChoice::JOIN);
    display.aiLevel.then(2);
    display.teamChoice.then(1).then(1);
    display.gameIdEntry.then("J");
    display.again.then(true).then(true);

    makeManager();
    runToExit();

    const Journal entries = takeJournal();
    for (const std::string& entry : entries) {
        EXPECT_EQ(entry.find("/ai/move"), std::string::npos) << entry;
    }
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "GET /game/G/ai/join"), 1);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "invite H"), 1);
    EXPECT_NE(
        std::find(entries.begin(), entries.end(), "showBoard 1 false 1 " + std::string(kOpening)),
        entries.end());
    EXPECT_FALSE(manager->aiMode);
    EXPECT_EQ(manager->gameId, "J");
}

}  // namespace
}  // namespace karvel::scripted
