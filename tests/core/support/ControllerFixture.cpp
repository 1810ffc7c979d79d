#include "support/ControllerFixture.h"

#include "common/serializer/object/Json.h"

namespace karvel::scripted {

std::string gameReply(int state, int currentPlayer, const std::string& board, bool canPass) {
    common::serializer::object::JsonValue game;
    game["state"] = state;
    game["currentPlayer"] = currentPlayer;
    game["board"] = board;
    game["canPass"] = canPass;
    return common::serializer::object::Json().encode(game);
}

ProcessHooks ScriptedSession::fakeHooks() {
    return ProcessHooks{
        [this](int seconds) { journal.push_back("sleep " + std::to_string(seconds)); },
        [this](int status) { processExits.push_back(status); },
        &out,
    };
}

GameManager& ScriptedSession::makeManager() {
    http.reply("/status", 200, "");
    manager = std::make_unique<GameManager>(api, display, fakeHooks());
    journal.clear();
    return *manager;
}

void ScriptedSession::runToExit() {
    EXPECT_THROW(manager->run(), ProgramExit);
}

std::vector<std::string> ScriptedSession::takeJournal() {
    std::vector<std::string> taken = std::move(journal);
    journal.clear();
    return taken;
}

}  // namespace karvel::scripted
