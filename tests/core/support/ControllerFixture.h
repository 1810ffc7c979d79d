#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "GameManager.h"
#include "ProcessHooks.h"
#include "server/Api.h"
#include "support/ScriptedApi.h"
#include "support/ScriptedDisplay.h"

namespace karvel::scripted {

inline constexpr const char* kBaseUrl = "https://games.test/api";
inline constexpr const char* kOpening = "00000000111111112222222200000000";

// The JSON text of a game record as the service sends it.
std::string gameReply(int state, int currentPlayer, const std::string& board, bool canPass = false);

// A real GameManager and a real Api over a scripted request layer and a scripted display,
// with one journal of everything that happens, in order: requests, display calls and sleeps.
struct ScriptedSession {
    ScriptedSession() = default;
    ScriptedSession(const ScriptedSession&) = delete;
    ScriptedSession& operator=(const ScriptedSession&) = delete;

    // A controller whose status check succeeded; the check is left out of the journal.
    GameManager& makeManager();
    // Runs the play loop; it must end the program through display.exit().
    void runToExit();
    std::vector<std::string> takeJournal();

    ProcessHooks fakeHooks();

    std::vector<std::string> journal;
    ScriptedApi http{kBaseUrl, journal};
    ScriptedDisplay display{journal};
    server::Api api{http, kBaseUrl};
    std::ostringstream out;
    std::vector<int> processExits;
    std::unique_ptr<GameManager> manager;
};

class ControllerTest : public ::testing::Test, protected ScriptedSession {};

}  // namespace karvel::scripted
