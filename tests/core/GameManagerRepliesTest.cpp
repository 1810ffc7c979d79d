// The turn cycle's handling of rejections, of replies with missing or mistyped fields, and of
// questions the user leaves unanswered.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ControllerFixture.h"

namespace karvel::scripted {
namespace {

using Journal = std::vector<std::string>;

const std::string kEmpty(32, '0');
// Every piece of team 2 can move in the opening position.
const std::string kTeam2Opening = "[(0,2) (1,2) (2,2) (3,2) (4,2) (5,2) (6,2) (7,2)]";

// Starts a joined game "G" as player "P" of `team`; the journal then begins with these three.
const Journal kJoined{"getGameStart", "getGameId", "GET /game/G/join"};

void joinAs(ScriptedSession& s, const std::string& team) {
    s.display.gameStart.then(StartChoice::JOIN);
    s.display.gameIdEntry.then("G");
    s.http.reply("/game/G/join", 200, R"({"id":"G","player":"P","team":)" + team + "}");
}

Journal joined(Journal rest) {
    Journal all = kJoined;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

TEST_F(ControllerTest, RejectedMoveChangesNothingAndIsAskedAgain) {
    joinAs(*this, "2");
    http.reply("/game/G", 200, gameReply(1, 2, kOpening));
    http.reply("/game/G/move", 400, R"({"message":"Not your turn"})");
    http.reply("/game/G", 200, gameReply(1, 2, kOpening));
    display.moveFrom.then(Position{0, 2}).then(std::nullopt);
    display.moveTo.then(Position{0, 0});

    makeManager();
    runToExit();

    EXPECT_EQ(
        takeJournal(),
        joined({
            "GET /game/G",
            "showBoard 2 true 1 " + std::string(kOpening),
            "requestNextMoveFrom 2 " + kTeam2Opening,
            "requestNextMoveTo 2 [(0,0) (2,0)]",
            R"(POST /game/G/move {"player":"P","move":{"to":{"x":0,"y":0},"from":{"x":0,"y":2}}})",
            "displayError KARVEL_API_ERROR: Not your turn",
            "sleep 1",
            // Same player to move and nothing set the redraw: asked again, not redrawn.
            "GET /game/G",
            "requestNextMoveFrom 2 " + kTeam2Opening,
            // No piece chosen: nothing is sent, and the next poll would ask again.
            "sleep 1",
            "GET /game/G",
            "getGameStart",
            "exit",
        }));
    EXPECT_FALSE(manager->lastPosition.has_value());
}

TEST_F(ControllerTest, OpponentTurnBetweenTwoPollsRedrawsTheBoard) {
    // X jumps A1, then O answers so quickly that the next poll sees X to move again: the same
    // player as the last poll saw, but not the board the display shows.
    const std::string afterUser = "20000000011111110222222200000000";
    const std::string afterOpponent = "20000000001111110022222201000000";
    joinAs(*this, "2");
    http.reply("/game/G", 200, gameReply(1, 2, kOpening));
    http.reply("/game/G/move", 200, gameReply(1, 1, afterUser));
    http.reply("/game/G", 200, gameReply(1, 2, afterOpponent));
    display.moveFrom.then(Position{0, 2}).then(std::nullopt);
    display.moveTo.then(Position{0, 0});

    makeManager();
    runToExit();

    const Journal entries = takeJournal();
    const auto secondPoll = std::find(entries.begin() + 4, entries.end(), "GET /game/G");
    ASSERT_NE(secondPoll, entries.end());
    ASSERT_LT(secondPoll + 2, entries.end());
    EXPECT_EQ(*(secondPoll + 1), "showBoard 2 true 1 " + afterOpponent);
    EXPECT_EQ((secondPoll + 2)->rfind("requestNextMoveFrom 2 ", 0), 0U) << *(secondPoll + 2);
}

TEST_F(ControllerTest, NoLandingSquareChosenSendsNothing) {
    joinAs(*this, "2");
    http.reply("/game/G", 200, gameReply(1, 2, kOpening));
    display.moveFrom.then(Position{0, 2});
    display.moveTo.then(std::nullopt);

    makeManager();
    runToExit();

    const Journal entries = takeJournal();
    for (const std::string& entry : entries) {
        EXPECT_FALSE(entry.starts_with("POST")) << entry;
    }
    EXPECT_EQ(entries[kJoined.size() + 3], "requestNextMoveTo 2 [(0,0) (2,0)]");
    EXPECT_EQ(entries[kJoined.size() + 4], "sleep 1");
}

TEST_F(ControllerTest, RejectionsOfPollAndAiReplies) {
    http.reply("/create", 200, R"({"id":"G","player":"P"})");
    http.reply("/game/G/ai/join", 409, R"({"message":"AI busy"})");
    http.reply("/game/G", 404, R"({"message":"No such game"})");
    http.reply("/game/G", 200, gameReply(1, 1, kOpening));
    http.reply("/game/G/ai/move/", 400, R"({"note":"no message"})");
    display.gameStart.then(StartChoice::AI);
    display.aiLevel.then(0);
    display.teamChoice.then(2);

    makeManager();
    runToExit();

    EXPECT_EQ(takeJournal(), (Journal{
                                 "getGameStart",
                                 "getAiLevel",
                                 "getTeamChoice",
                                 R"(POST /create {"startingAs":2})",
                                 "GET /game/G/ai/join",
                                 "displayError KARVEL_API_ERROR: AI busy",
                                 "GET /game/G",
                                 "displayError KARVEL_API_ERROR: No such game",
                                 "sleep 1",
                                 "GET /game/G",
                                 "showBoard 1 false 1 " + std::string(kOpening),
                                 R"(POST /game/G/ai/move/ {"player":"P","level":0})",
                                 // A refusal without a message shows an empty one.
                                 "displayError KARVEL_API_ERROR: ",
                                 "sleep 1",
                                 "GET /game/G",
                                 "getGameStart",
                                 "exit",
                             }));
    // The AI join was refused, yet the game's ids are held.
    EXPECT_EQ(manager->gameId, "G");
    EXPECT_EQ(manager->team, 2);
}

TEST_F(ControllerTest, RejectedJoinKeepsTheEarlierGame) {
    joinAs(*this, "1");
    http.reply("/game/G", 200, gameReply(2, 2, kOpening));
    http.reply("/game/H/join", 404, R"({"message":"Unknown game"})");
    http.reply("/game/G", 200, gameReply(2, 2, kOpening));
    display.again.then(true).then(false);
    display.gameStart.then(StartChoice::JOIN);
    display.gameIdEntry.then("H");

    makeManager();
    runToExit();

    EXPECT_EQ(takeJournal(), joined({
                                 "GET /game/G",
                                 "showBoard 2 false 2 " + std::string(kOpening),
                                 "endGame 2:0 1:0 " + std::string(kOpening),
                                 "sleep 1",
                                 "playAgain",
                                 "getGameStart",
                                 "getGameId",
                                 "GET /game/H/join",
                                 "displayError KARVEL_API_ERROR: Unknown game",
                                 // Polling follows the earlier game, redrawn since start() set
                                 // the redraw after the join.
                                 "GET /game/G",
                                 "showBoard 2 false 2 " + std::string(kOpening),
                                 "endGame 2:0 1:0 " + std::string(kOpening),
                                 "sleep 1",
                                 "playAgain",
                                 "exit",
                             }));
    EXPECT_EQ(manager->gameId, "G");
    EXPECT_EQ(manager->playerId, "P");
}

TEST_F(ControllerTest, PassRedrawsAtTheNextPollWhetherAcceptedOrNot) {
    struct Case {
        int status;
        std::string body;
        Journal shown;
    };
    const std::vector<Case> cases{
        {200, "{}", {}},
        {403, R"({"message":"Cannot pass"})", {"displayError KARVEL_API_ERROR: Cannot pass"}},
    };
    const std::string chain =
        "20000000"
        "01111111"
        "02022222"
        "00000000";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        ScriptedSession s;
        joinAs(s, "2");
        s.http.reply("/game/G", 200, gameReply(1, 2, kOpening));
        s.http.reply("/game/G/move", 200, gameReply(1, 2, chain));
        s.http.reply("/game/G", 200, gameReply(1, 2, chain, true));
        s.http.reply("/game/G/pass/P", c.status, c.body);
        s.http.reply("/game/G", 200, gameReply(1, 2, chain));
        s.display.moveFrom.then(Position{0, 2});
        s.display.moveTo.then(Position{0, 0});
        s.display.followUp.then(std::nullopt);
        s.display.moveFrom.then(std::nullopt);

        s.makeManager();
        s.runToExit();

        Journal expected{"sleep 1", "GET /game/G", "showBoard 2 true 1 " + chain,
                         "requestFollowUpMove 2 (0,0) [(2,2)]", "GET /game/G/pass/P"};
        expected.insert(expected.end(), c.shown.begin(), c.shown.end());
        // Same player to move, but the pass asked for a redraw.
        const Journal after{"sleep 1", "GET /game/G", "showBoard 2 true 1 " + chain};
        expected.insert(expected.end(), after.begin(), after.end());
        const Journal entries = s.takeJournal();
        const auto first =
            std::search(entries.begin(), entries.end(), expected.begin(), expected.end());
        EXPECT_NE(first, entries.end()) << ::testing::PrintToString(entries);
    }
}

TEST_F(ControllerTest, CanPassWithoutALandingSquareOffersOnlyThePass) {
    joinAs(*this, "2");
    http.reply("/game/G", 200, gameReply(1, 2, kOpening, true));
    http.reply("/game/G/pass/P", 200, "{}");
    display.followUp.then(std::nullopt);

    makeManager();
    runToExit();

    EXPECT_EQ(takeJournal(), joined({
                                 "GET /game/G",
                                 "showBoard 2 true 1 " + std::string(kOpening),
                                 "showBoard 2 true 1 " + std::string(kOpening),
                                 "requestFollowUpMove 2 (0,0) []",
                                 "GET /game/G/pass/P",
                                 "sleep 1",
                                 "GET /game/G",
                                 "getGameStart",
                                 "exit",
                             }));
}

TEST_F(ControllerTest, MistypedPollFieldsCountAsAbsent) {
    // Nothing in this reply has the type the client reads: the state is neither waiting nor
    // ended, the player is absent (so not the user), and the board is empty.
    http.reply("/create", 200, R"({"id":"G","player":"P"})");
    http.reply("/game/G/ai/join", 200, "{}");
    http.reply("/game/G", 200, R"({"state":"2","currentPlayer":null,"board":5,"canPass":"yes"})");
    http.reply("/game/G/ai/move/", 200, R"({"board":["x"],"state":true,"currentPlayer":"1"})");
    display.gameStart.then(StartChoice::AI);
    display.aiLevel.then(2);
    display.teamChoice.then(1);

    makeManager();
    runToExit();

    const Journal entries = takeJournal();
    const Journal expected{
        "GET /game/G",
        "showBoard 0 false 0 " + kEmpty,
        R"(POST /game/G/ai/move/ {"player":"P","level":2})",
        "showBoard 0 false 0 " + kEmpty,
        "sleep 1",
        "sleep 1",
    };
    ASSERT_GE(entries.size(), 5 + expected.size());
    EXPECT_EQ(
        Journal(entries.begin() + 5, entries.begin() + 5 + static_cast<long>(expected.size())),
        expected);
    EXPECT_EQ(manager->currentPlayer, 0);
    EXPECT_TRUE(manager->isPlaying);
}

TEST_F(ControllerTest, AiMoveWithoutAUsableLastMoveStillDrawsTheBoard) {
    const std::string board =
        "00000000"
        "01111111"
        "02222222"
        "20000000";
    const std::vector<std::string> lastMoves{
        "",
        R"(,"lastMove":5)",
        R"(,"lastMove":{"to":{"x":0,"y":0}})",
        R"(,"lastMove":{"from":{"x":"0","y":2},"to":{"x":0,"y":0}})",
        R"(,"lastMove":{"from":{"x":0},"to":{"x":0,"y":0}})",
        R"(,"lastMove":{"from":{"x":0,"y":2},"to":{"x":8,"y":0}})",
        R"(,"lastMove":{"from":{"x":0,"y":-1},"to":{"x":0,"y":0}})",
        R"(,"lastMove":{"from":[0,2],"to":{"x":0,"y":0}})",
    };
    for (const std::string& lastMove : lastMoves) {
        SCOPED_TRACE(lastMove);
        ScriptedSession s;
        s.http.reply("/create", 200, R"({"id":"G","player":"P"})");
        s.http.reply("/game/G/ai/join", 200, "{}");
        s.http.reply("/game/G", 200, gameReply(1, 2, kOpening));
        s.http.reply("/game/G/ai/move/", 200,
                     std::string(R"({"board":")")
                         .append(board)
                         .append(R"(","currentPlayer":1,"state":1)")
                         .append(lastMove)
                         .append("}"));
        s.display.gameStart.then(StartChoice::AI);
        s.display.aiLevel.then(0);
        s.display.teamChoice.then(1);

        s.makeManager();
        s.runToExit();

        // The board of the reply is drawn, no move is reported, and the pause follows.
        const Journal entries = s.takeJournal();
        ASSERT_GE(entries.size(), 11u);
        EXPECT_EQ(entries[7], R"(POST /game/G/ai/move/ {"player":"P","level":0})");
        EXPECT_EQ(entries[8], "showBoard 1 true 1 " + board);
        EXPECT_EQ(entries[9], "sleep 1");
        EXPECT_EQ(entries[10], "sleep 1");
    }
}

TEST_F(ControllerTest, NumbersAreReadByValue) {
    // A fractional team is truncated; a player written as 2.0 is the same player as 2.
    joinAs(*this, "2.9");
    http.reply("/game/G", 200,
               R"({"state":1.0,"currentPlayer":2.0,"board":")" + std::string(kOpening) +
                   R"(","canPass":false})");
    http.reply("/game/G", 200,
               R"({"state":2,"currentPlayer":2.5,"board":")" + std::string(kOpening) + R"("})");
    display.moveFrom.then(std::nullopt);
    display.again.then(false);

    makeManager();
    runToExit();

    EXPECT_EQ(manager->team, 2);
    EXPECT_EQ(takeJournal(), joined({
                                 "GET /game/G",
                                 "showBoard 2 true 1 " + std::string(kOpening),
                                 "requestNextMoveFrom 2 " + kTeam2Opening,
                                 "sleep 1",
                                 "GET /game/G",
                                 // 2.5 differs from the 2 held: redrawn, and it is not the user.
                                 "showBoard 2 false 2 " + std::string(kOpening),
                                 "endGame 2:0 1:0 " + std::string(kOpening),
                                 "sleep 1",
                                 "playAgain",
                                 "exit",
                             }));
}

}  // namespace
}  // namespace karvel::scripted
