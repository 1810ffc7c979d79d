// The play loop's handler, the status check, and failed requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "EndOfInput.h"
#include "error/EndGameInterrupt.h"
#include "error/OccupiedSpaceError.h"
#include "support/ControllerFixture.h"

namespace karvel::scripted {
namespace {

using Journal = std::vector<std::string>;

bool contains(const Journal& journal, const std::string& entry) {
    return std::find(journal.begin(), journal.end(), entry) != journal.end();
}

TEST_F(ControllerTest, ServiceThatDoesNotAnswerEndsTheProgram) {
    struct Case {
        const char* name;
        std::function<void(ScriptedApi&)> script;
    };
    const std::vector<Case> cases{
        {"no connection", [](ScriptedApi&) {}},
        {"error status", [](ScriptedApi& api) { api.fail("/status", 503, "Http Error #503"); }},
        {"error status reaching onResponse",
         [](ScriptedApi& api) { api.reply("/status", 503, ""); }},
    };
    for (const Case& c : cases) {
        ScriptedSession s;
        c.script(s.http);
        EXPECT_THROW(GameManager(s.api, s.display, s.fakeHooks()), ProgramExit) << c.name;
        EXPECT_EQ(s.takeJournal(), (Journal{"GET /status",
                                            "displayError KARVEL_GAME_MANAGER_ERROR: Service not "
                                            "available",
                                            "exit"}))
            << c.name;
    }
}

TEST_F(ControllerTest, StatusCheckAcceptsAnySuccessWhateverTheBody) {
    http.reply("/status", 302, "not json at all");
    GameManager made(api, display, fakeHooks());
    EXPECT_EQ(takeJournal(), (Journal{"GET /status"}));
    EXPECT_FALSE(made.isPlaying);
    EXPECT_FALSE(made.gameId.has_value());
    EXPECT_FALSE(made.playerId.has_value());
}

TEST_F(ControllerTest, LeavingEndsTheProgramWithoutThePlayAgainQuestion) {
    struct Case {
        const char* name;
        std::function<void(ScriptedDisplay&)> script;
    };
    const std::vector<Case> cases{
        {"Esc at the start question",
         [](ScriptedDisplay& d) { d.gameStart.thenThrow(error::EndGameInterrupt()); }},
        {"input ends at the start question",
         [](ScriptedDisplay& d) { d.gameStart.thenThrow(EndOfInput()); }},
        {"Esc during set-up",
         [](ScriptedDisplay& d) {
             d.gameStart.then(StartChoice::AI);
             d.aiLevel.then(0);
             d.teamChoice.thenThrow(error::EndGameInterrupt());
         }},
        {"Esc at a move question",
         [](ScriptedDisplay& d) {
             d.gameStart.then(StartChoice::JOIN);
             d.gameIdEntry.then("G");
             d.moveFrom.thenThrow(error::EndGameInterrupt());
         }},
        {"input ends at a move question",
         [](ScriptedDisplay& d) {
             d.gameStart.then(StartChoice::JOIN);
             d.gameIdEntry.then("G");
             d.moveFrom.thenThrow(EndOfInput());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSession s;
        s.http.reply("/game/G/join", 200, R"({"id":"G","player":"P","team":2})");
        s.http.reply("/game/G", 200, gameReply(1, 2, kOpening));
        c.script(s.display);
        s.makeManager();
        s.runToExit();
        const Journal entries = s.takeJournal();
        EXPECT_FALSE(contains(entries, "playAgain"));
        EXPECT_EQ(std::count(entries.begin(), entries.end(), "exit"), 1);
        EXPECT_EQ(entries.back(), "exit");
        EXPECT_EQ(s.out.str(), "");
    }
}

TEST_F(ControllerTest, FailedRequestIsTracedAndTheGameCanBeResumed) {
    struct Case {
        std::int32_t status;
        std::string text;
    };
    const std::vector<Case> cases{
        {0, "Failed to connect on games.test:443"}, {404, "Http Error #404"}, {0, "Invalid URL"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedSession s;
        s.http.reply("/create", 200, R"({"id":"G","player":"P"})");
        s.http.reply("/game/G", 200, gameReply(1, 2, kOpening));
        s.http.fail("/game/G", c.status, c.text);
        s.http.reply("/game/G", 200, gameReply(2, 2, kOpening));
        s.display.gameStart.then(StartChoice::CREATE).then(StartChoice::RESUME);
        s.display.teamChoice.then(1);
        s.display.again.then(false);

        s.makeManager();
        s.runToExit();

        EXPECT_EQ(s.out.str(), "GameManager.cpp:264: " + c.text + "\n");
        EXPECT_EQ(s.takeJournal(), (Journal{
                                       "getGameStart",
                                       "getTeamChoice",
                                       R"(POST /create {"startingAs":1})",
                                       "invite G",
                                       "GET /game/G",
                                       "showBoard 2 false 1 " + std::string(kOpening),
                                       "sleep 1",
                                       "GET /game/G",
                                       "getGameStart",
                                       "GET /game/G",
                                       "endGame 2:0 1:0 " + std::string(kOpening),
                                       "sleep 1",
                                       "playAgain",
                                       "exit",
                                   }));
        EXPECT_EQ(s.manager->gameId, "G");
        EXPECT_EQ(s.manager->playerId, "P");
        EXPECT_EQ(s.manager->team, 1);
    }
}

TEST_F(ControllerTest, ReplyThatIsNotJsonIsTraced) {
    http.reply("/create", 200, "<html>busy</html>");
    display.gameStart.then(StartChoice::CREATE);
    display.teamChoice.then(1);

    makeManager();
    runToExit();

    const std::string written = out.str();
    EXPECT_TRUE(written.starts_with("GameManager.cpp:264: [json.exception.parse_error.101]"))
        << written;
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1);
    EXPECT_EQ(takeJournal(), (Journal{"getGameStart", "getTeamChoice",
                                      R"(POST /create {"startingAs":1})", "getGameStart", "exit"}));
    EXPECT_FALSE(manager->gameId.has_value());
}

TEST_F(ControllerTest, FailuresThatAreNotRecordsAreTracedAndPlayStartsOver) {
    struct Case {
        std::function<void(ScriptedDisplay&)> script;
        std::string line;
    };
    const std::vector<Case> cases{
        {[](ScriptedDisplay& d) { d.aiLevel.thenThrow(std::runtime_error("Bad Input")); },
         "GameManager.cpp:264: Bad Input\n"},
        {[](ScriptedDisplay& d) { d.aiLevel.thenThrow(std::string("plain text")); },
         "GameManager.cpp:264: plain text\n"},
        {[](ScriptedDisplay& d) { d.aiLevel.thenThrow(42); },
         "GameManager.cpp:264: unknown failure\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ScriptedSession s;
        s.display.gameStart.then(StartChoice::AI);
        c.script(s.display);
        s.makeManager();
        s.runToExit();
        EXPECT_EQ(s.out.str(), c.line);
        EXPECT_EQ(s.takeJournal(), (Journal{"getGameStart", "getAiLevel", "getGameStart", "exit"}));
    }
}

TEST_F(ControllerTest, ErrorRecordsAreShownAndPlayStartsOver) {
    display.gameStart.then(StartChoice::CREATE).then(StartChoice::AI);
    display.teamChoice.thenThrow(common::errors::Error("SOME_FAILURE", "Something broke"));
    display.aiLevel.thenThrow(error::OccupiedSpaceError(Position{1, 2}, 1));

    makeManager();
    runToExit();

    EXPECT_EQ(takeJournal(),
              (Journal{
                  "getGameStart",
                  "getTeamChoice",
                  "displayError SOME_FAILURE: Something broke",
                  "getGameStart",
                  "getAiLevel",
                  R"(displayError OCCUPIED_SPACE_ERROR: Position "{x: 1, y: 2}" taken by 1)",
                  "getGameStart",
                  "exit",
              }));
    EXPECT_EQ(out.str(), "");
}

TEST_F(ControllerTest, RejectedCreationLeavesNoIdsOfTheEarlierGame) {
    http.reply("/game/J/join", 200, R"({"id":"J","player":"R","team":2})");
    http.reply("/game/J", 200, gameReply(2, 1, kOpening));
    http.reply("/create", 400, R"({"message":"No seats left"})");
    display.gameStart.then(StartChoice::JOIN).then(StartChoice::CREATE);
    display.gameIdEntry.then("J");
    display.again.then(true);
    display.teamChoice.then(1);

    makeManager();
    runToExit();

    const Journal entries = takeJournal();
    ASSERT_GE(entries.size(), 6u);
    EXPECT_EQ(Journal(entries.end() - 6, entries.end()),
              (Journal{
                  "getTeamChoice",
                  R"(POST /create {"startingAs":1})",
                  "displayError KARVEL_API_ERROR: No seats left",
                  // Polling starts all the same, without an id, and fails.
                  "GET /game/",
                  "getGameStart",
                  "exit",
              }));
    EXPECT_FALSE(manager->gameId.has_value());
    EXPECT_FALSE(manager->playerId.has_value());
    EXPECT_EQ(manager->team, 2);  // the reply never came, so the team is the earlier one
    EXPECT_EQ(out.str(), "GameManager.cpp:264: Failed to connect on scripted:443\n");
}

}  // namespace
}  // namespace karvel::scripted
