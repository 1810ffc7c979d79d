#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "browser/api/Error.h"
#include "server/Api.h"
#include "support/ScriptedApi.h"

namespace karvel::server {
namespace {

using common::serializer::object::JsonValue;
using scripted::ScriptedApi;

constexpr const char* kBase = "https://games.test/api";

// What a GameCallback was given.
struct Received {
    int calls = 0;
    std::string game;
    std::string error;

    GameCallback callback() {
        return [this](const GameRecord* g, const GameRecord* e) {
            ++calls;
            game = g != nullptr ? g->value().dump() : "absent";
            error = e != nullptr ? e->value().dump() : "absent";
        };
    }
};

TEST(ApiTest, EachOperationSendsItsRequest) {
    JsonValue created;
    created["startingAs"] = 2;
    JsonValue moved;
    moved["player"] = "P";
    moved["move"]["to"] = {{"x", 4}, {"y", 2}};
    moved["move"]["from"] = {{"x", 2}, {"y", 2}};
    JsonValue aiMoved;
    aiMoved["player"] = "P";
    aiMoved["level"] = 1;

    struct Case {
        std::function<void(Api&, const GameCallback&)> call;
        std::string request;
    };
    const std::vector<Case> cases{
        {[&](Api& a, const GameCallback& cb) { a.create(created, cb); },
         R"(POST https://games.test/api/create {"startingAs":2})"},
        {[](Api& a, const GameCallback& cb) { a.join("G", cb); },
         "GET https://games.test/api/game/G/join"},
        {[](Api& a, const GameCallback& cb) { a.aiJoin("G", cb); },
         "GET https://games.test/api/game/G/ai/join"},
        {[](Api& a, const GameCallback& cb) { a.get("G", cb); },
         "GET https://games.test/api/game/G"},
        {[&](Api& a, const GameCallback& cb) { a.move("G", moved, cb); },
         R"(POST https://games.test/api/game/G/move {"player":"P","move":{"to":{"x":4,"y":2},"from":{"x":2,"y":2}}})"},
        {[&](Api& a, const GameCallback& cb) { a.aiMove("G", aiMoved, cb); },
         R"(POST https://games.test/api/game/G/ai/move/ {"player":"P","level":1})"},
        {[](Api& a, const GameCallback& cb) { a.pass("G", "P", cb); },
         "GET https://games.test/api/game/G/pass/P"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> journal;
        ScriptedApi http("", journal);
        Api api(http, kBase);
        // Every path answers, so whichever the operation asks for is found.
        for (const char* path : {"/create", "/game/G/join", "/game/G/ai/join", "/game/G",
                                 "/game/G/move", "/game/G/ai/move/", "/game/G/pass/P"}) {
            http.reply(kBase + std::string(path), 200, R"({"id":"G"})");
        }
        Received received;
        c.call(api, received.callback());
        EXPECT_EQ(journal, std::vector<std::string>{c.request});
        EXPECT_EQ(received.calls, 1) << c.request;
        EXPECT_EQ(received.game, R"({"id":"G"})") << c.request;
        EXPECT_EQ(received.error, "absent") << c.request;
    }
}

TEST(ApiTest, BaseUrlIsUsedAsGiven) {
    std::vector<std::string> journal;
    ScriptedApi http("", journal);
    Api api(http, "https://games.test/api/");
    http.reply("https://games.test/api//game/a b/join", 200, "{}");
    Received received;
    api.join("a b", received.callback());
    EXPECT_EQ(journal, std::vector<std::string>{"GET https://games.test/api//game/a b/join"});
    EXPECT_EQ(received.calls, 1);
}

TEST(ApiTest, StatusDecidesBetweenGameAndError) {
    struct Case {
        int status;
        std::string game;
        std::string error;
    };
    const std::vector<Case> cases{{200, R"({"message":"m"})", "absent"},
                                  {399, R"({"message":"m"})", "absent"},
                                  {400, "absent", R"({"message":"m"})"},
                                  {503, "absent", R"({"message":"m"})"}};
    for (const Case& c : cases) {
        browser::api::ApiResponse response{c.status, R"({"message":"m"})"};
        Received received;
        Api::handleGameResponse(received.callback())(response);
        EXPECT_EQ(received.calls, 1);
        EXPECT_EQ(received.game, c.game) << c.status;
        EXPECT_EQ(received.error, c.error) << c.status;
    }
}

TEST(ApiTest, FailuresLeaveTheOperationAndSkipTheCallback) {
    std::vector<std::string> journal;
    ScriptedApi http(kBase, journal);
    Api api(http, kBase);
    Received received;

    http.fail("/game/G", 404, "Http Error #404");
    try {
        api.get("G", received.callback());
        ADD_FAILURE() << "no failure raised";
    } catch (const browser::api::Error& e) {
        EXPECT_EQ(e.status, 404);
        EXPECT_EQ(e.message, "Http Error #404");
    }

    for (const std::string body : {"", "not json", "{\"id\":"}) {
        http.reply("/game/G", 200, body);
        EXPECT_THROW(api.get("G", received.callback()), nlohmann::json::parse_error) << body;
    }
    EXPECT_EQ(received.calls, 0);

    http.reply("/game/G", 200, "{}");
    const GameCallback throwing = [](const GameRecord*, const GameRecord*) {
        throw std::runtime_error("from the callback");
    };
    EXPECT_THROW(api.get("G", throwing), std::runtime_error);
}

TEST(ApiTest, CheckStatusReportsAvailabilityAndNeverThrows) {
    struct Case {
        std::function<void(ScriptedApi&)> script;
        bool available;
    };
    const std::vector<Case> cases{
        {[](ScriptedApi& h) { h.reply("/status", 200, "not json"); }, true},
        {[](ScriptedApi& h) { h.reply("/status", 399, ""); }, true},
        {[](ScriptedApi& h) { h.reply("/status", 400, "{}"); }, false},
        {[](ScriptedApi& h) { h.fail("/status", 500, "Http Error #500"); }, false},
        {[](ScriptedApi&) {}, false},  // unreachable
    };
    for (const Case& c : cases) {
        std::vector<std::string> journal;
        ScriptedApi http(kBase, journal);
        Api api(http, kBase);
        c.script(http);
        std::vector<bool> answers;
        EXPECT_NO_THROW(api.checkStatus([&answers](bool up) { answers.push_back(up); }));
        EXPECT_EQ(answers, std::vector<bool>{c.available});
        EXPECT_EQ(journal, std::vector<std::string>{"GET /status"});
    }
}

}  // namespace
}  // namespace karvel::server
