// Every endpoint and every kind of refusal, over HTTPS against the real service.
#include <regex>

#include "Referee.h"
#include "ServiceFixture.h"

namespace karvel::service::server::testing {
namespace {

const std::string kOpening = "00000000111111112222222200000000";
const std::string kUnknownGame = "0f8b2a3c-5d6e-4f70-8a9b-0c1d2e3f4a5b";
const std::string kStranger = "00112233445566778899aabbccddeeff";

using EndpointTest = ServiceFixture;

TEST_F(EndpointTest, StatusAnswersOk) {
    const HttpReply reply = service_->client().get("/api/status");
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.json().value("status", ""), "ok");
}

TEST_F(EndpointTest, CreateGivesAWaitingGameAndTheCreatorsSeat) {
    const std::regex uuidV4(
        "^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$");
    const std::regex secret("^[0-9a-f]{32}$");
    for (const Piece team : {1, 2}) {
        const HttpReply reply =
            service_->client().post("/api/create", nlohmann::json{{"startingAs", team}}.dump());
        ASSERT_EQ(reply.status, 200) << reply.body;
        const nlohmann::json game = reply.json();
        EXPECT_TRUE(std::regex_match(game["id"].get<std::string>(), uuidV4)) << game;
        EXPECT_TRUE(std::regex_match(game["player"].get<std::string>(), secret)) << game;
        EXPECT_EQ(game["team"], team);
        EXPECT_EQ(game["state"], 0);
        EXPECT_EQ(game["currentPlayer"], 2);
        EXPECT_EQ(game["board"], kOpening);
        EXPECT_EQ(game["canPass"], false);
    }
    EXPECT_NE(create(1).gameId, create(1).gameId);
}

TEST_F(EndpointTest, JoinSeatsTheOtherTeamOnceAndStartsPlay) {
    const Seat creator = create(1);
    const HttpReply joined = service_->client().get("/api/game/" + creator.gameId + "/join");
    ASSERT_EQ(joined.status, 200) << joined.body;
    EXPECT_EQ(joined.json()["id"], creator.gameId);
    EXPECT_EQ(joined.json()["team"], 2);
    EXPECT_EQ(joined.json()["state"], 1);
    EXPECT_NE(joined.json()["player"], creator.player);
    EXPECT_EQ(joined.body.find(creator.player), std::string::npos) << "leaks the creator's id";

    const nlohmann::json game = get(creator.gameId).json();
    EXPECT_EQ(game["state"], 1);
    EXPECT_EQ(game["currentPlayer"], 2);
    EXPECT_FALSE(game.contains("player"));

    EXPECT_EQ(service_->client().get("/api/game/" + creator.gameId + "/join").status, 409);
    EXPECT_EQ(service_->client().get("/api/game/" + creator.gameId + "/ai/join").status, 409);
}

TEST_F(EndpointTest, AiJoinTakesTheSecondSeat) {
    const Seat creator = create(2);
    const HttpReply reply = service_->client().get("/api/game/" + creator.gameId + "/ai/join");
    ASSERT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(reply.json()["state"], 1);
    EXPECT_FALSE(reply.json().contains("player"));
    EXPECT_EQ(service_->client().get("/api/game/" + creator.gameId + "/join").status, 409);
}

TEST_F(EndpointTest, MoveAppliesTheJumpAndHandsOverTheTurn) {
    const Seat x = create(2);
    const Seat o = join(x.gameId);
    const HttpReply reply = move(x, Move{{0, 2}, {0, 0}});
    ASSERT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(reply.json()["board"], "20000000011111110222222200000000");
    EXPECT_EQ(reply.json()["currentPlayer"], 1);
    EXPECT_EQ(reply.json()["state"], 1);
    EXPECT_EQ(reply.body.find(o.player), std::string::npos);
    EXPECT_EQ(get(x.gameId).json()["board"], reply.json()["board"]);
    // The same move again is refused: the piece is no longer there and the turn has passed.
    EXPECT_EQ(move(x, Move{{0, 2}, {0, 0}}).status, 409);
}

// Plays first legal moves, preferring one that lets the piece jump on, until a chain starts.
TEST_F(EndpointTest, AChainKeepsTheTurnForThatPieceUntilItsPlayerPasses) {
    const Seat x = create(2);
    const Seat o = join(x.gameId);
    Referee referee;
    while (!referee.chainFrom && !referee.ended) {
        std::vector<Move> moves = referee.legalMoves();
        Move chosen = moves.front();
        for (const Move& candidate : moves) {
            Referee trial = referee;
            trial.jump(candidate);
            if (trial.chainFrom) {
                chosen = candidate;
                break;
            }
        }
        const Seat& mover = referee.toMove == x.team ? x : o;
        ASSERT_EQ(move(mover, chosen).status, 200);
        referee.jump(chosen);
    }
    ASSERT_TRUE(referee.chainFrom) << "no chain arose";
    const Seat& mover = referee.toMove == x.team ? x : o;
    const Seat& waiter = referee.toMove == x.team ? o : x;
    const nlohmann::json game = get(x.gameId).json();
    EXPECT_EQ(game["canPass"], true);
    EXPECT_EQ(game["currentPlayer"], referee.toMove);

    // Another piece of the same team may not move now.
    for (const Position& piece : referee.board.getPositionsWithMoves(referee.toMove)) {
        if (!(piece == *referee.chainFrom)) {
            EXPECT_EQ(move(mover, Move{piece, referee.board.getMoves(piece).front()}).status, 409);
            break;
        }
    }
    EXPECT_EQ(pass(waiter).status, 409);
    const HttpReply passed = pass(mover);
    ASSERT_EQ(passed.status, 200) << passed.body;
    referee.pass();
    EXPECT_EQ(passed.json()["currentPlayer"], referee.toMove);
    EXPECT_EQ(passed.json()["canPass"], false);
    EXPECT_EQ(pass(waiter).status, 409) << "a pass outside a chain";
}

TEST_F(EndpointTest, AiMoveReportsItsJumpAndTheBoardAfterIt) {
    const Seat human = create(1);
    ASSERT_EQ(service_->client().get("/api/game/" + human.gameId + "/ai/join").status, 200);
    const HttpReply reply = aiMove(human, 0);
    ASSERT_EQ(reply.status, 200) << reply.body;
    const nlohmann::json game = reply.json();
    const Move made{{game["lastMove"]["from"]["x"], game["lastMove"]["from"]["y"]},
                    {game["lastMove"]["to"]["x"], game["lastMove"]["to"]["y"]}};
    Referee referee;
    const std::vector<Move> legal = referee.legalMoves();
    ASSERT_NE(std::find(legal.begin(), legal.end(), made), legal.end());
    referee.jump(made);
    EXPECT_EQ(game["board"], referee.board.toString());
    EXPECT_EQ(game["currentPlayer"], game["canPass"] == true ? 2 : 1);
    EXPECT_EQ(game["state"], 1);
}

struct RefusalCase {
    const char* what;
    std::string method;
    std::string target;
    std::string body;
    int status;
};

// One of each kind of refusal, each answered with its status and a JSON message.
TEST_F(EndpointTest, RefusalsCarryTheirStatusAndAMessage) {
    const Seat x = create(2);
    const Seat o = join(x.gameId);
    const Seat waiting = create(1);
    const Seat aiGameHuman = create(1);  // the AI plays X and is to move
    ASSERT_EQ(service_->client().get("/api/game/" + aiGameHuman.gameId + "/ai/join").status, 200);
    const Seat aiGameFirst = create(2);  // the human plays X and is to move
    ASSERT_EQ(service_->client().get("/api/game/" + aiGameFirst.gameId + "/ai/join").status, 200);
    const auto movePath = [](const Seat& seat) { return "/api/game/" + seat.gameId + "/move"; };
    const auto aiPath = [](const Seat& seat) { return "/api/game/" + seat.gameId + "/ai/move/"; };
    const auto aiBody = [](const std::string& player, const nlohmann::json& level) {
        return nlohmann::json{{"player", player}, {"level", level}}.dump();
    };
    const Move opening{{0, 2}, {0, 0}};

    const std::vector<RefusalCase> cases = {
        {"unknown game", "GET", "/api/game/" + kUnknownGame, "", 404},
        {"unknown game, join", "GET", "/api/game/" + kUnknownGame + "/join", "", 404},
        {"unknown game, move", "POST", "/api/game/" + kUnknownGame + "/move",
         moveBody(x.player, opening), 404},
        {"game id of the wrong form", "GET", "/api/game/NOT-A-UUID", "", 400},
        {"game id in upper case", "GET", "/api/game/0F8B2A3C-5D6E-4F70-8A9B-0C1D2E3F4A5B", "", 400},
        {"unknown endpoint", "GET", "/api/nothing", "", 404},
        {"outside the API", "GET", "/status", "", 404},
        {"status by POST", "POST", "/api/status", "{}", 405},
        {"create by GET", "GET", "/api/create", "", 405},
        {"create, not JSON", "POST", "/api/create", "startingAs=1", 400},
        {"create, not an object", "POST", "/api/create", "[1]", 400},
        {"create, no team", "POST", "/api/create", "{}", 400},
        {"create, team 3", "POST", "/api/create", R"({"startingAs":3})", 400},
        {"create, team as text", "POST", "/api/create", R"({"startingAs":"1"})", 400},
        {"move, not JSON", "POST", movePath(x), "{", 400},
        {"move, no move member", "POST", movePath(x), nlohmann::json{{"player", x.player}}.dump(),
         400},
        {"move, coordinate not a number", "POST", movePath(x),
         R"({"player":")" + x.player + R"(","move":{"from":{"x":"0","y":2},"to":{"x":0,"y":0}}})",
         400},
        {"move, square off the board", "POST", movePath(x), moveBody(x.player, {{0, 2}, {9, 0}}),
         400},
        {"move, huge coordinate", "POST", movePath(x),
         R"({"player":")" + x.player +
             R"(","move":{"from":{"x":0,"y":2},"to":{"x":99999999999999,"y":0}}})",
         400},
        {"move, player id of the wrong form", "POST", movePath(x), moveBody("x", opening), 400},
        {"move, player of no seat", "POST", movePath(x), moveBody(kStranger, opening), 403},
        {"move, not the player's turn", "POST", movePath(o), moveBody(o.player, {{0, 1}, {0, 3}}),
         409},
        {"move, not a jump", "POST", movePath(x), moveBody(x.player, {{0, 2}, {0, 1}}), 409},
        {"move, the opponent's piece", "POST", movePath(x), moveBody(x.player, {{0, 1}, {0, 3}}),
         409},
        {"move before the second player", "POST", movePath(waiting),
         moveBody(waiting.player, opening), 409},
        {"pass outside a chain", "GET", "/api/game/" + x.gameId + "/pass/" + x.player, "", 409},
        {"pass by a stranger", "GET", "/api/game/" + x.gameId + "/pass/" + kStranger, "", 403},
        {"AI move in a game between people", "POST", aiPath(x), aiBody(x.player, 2), 403},
        {"AI move asked by a stranger", "POST", aiPath(aiGameHuman), aiBody(kStranger, 2), 403},
        {"AI move at level 3", "POST", aiPath(aiGameHuman), aiBody(aiGameHuman.player, 3), 400},
        {"AI level as text", "POST", aiPath(aiGameHuman), aiBody(aiGameHuman.player, "2"), 400},
        {"AI move on the human's turn", "POST", aiPath(aiGameFirst), aiBody(aiGameFirst.player, 2),
         409},
        {"human move on the AI's turn", "POST", movePath(aiGameHuman),
         moveBody(aiGameHuman.player, {{0, 1}, {0, 3}}), 409},
        {"body over the limit", "POST", "/api/create",
         R"({"startingAs":1,"pad":")" + std::string(10000, 'a') + "\"}", 413},
    };
    for (const RefusalCase& refusal : cases) {
        const HttpReply reply =
            service_->client().send(refusal.method, refusal.target, refusal.body);
        EXPECT_EQ(reply.status, refusal.status) << refusal.what << ": " << reply.body;
        const nlohmann::json body = reply.json();
        EXPECT_TRUE(body.is_object() && body.contains("message") && body["message"].is_string() &&
                    !body["message"].get<std::string>().empty())
            << refusal.what << ": " << reply.body;
        EXPECT_EQ(reply.body.find(x.player), std::string::npos) << refusal.what;
    }
    // None of them changed a game.
    EXPECT_EQ(get(x.gameId).json()["board"], kOpening);
    EXPECT_EQ(get(aiGameHuman.gameId).json()["board"], kOpening);
    EXPECT_EQ(get(waiting.gameId).json()["state"], 0);
}

TEST_F(EndpointTest, AccessLogHasALinePerRequestWithoutPlayerIds) {
    const Seat x = create(2);
    join(x.gameId);
    pass(x);
    const std::string log = service_->log();
    EXPECT_NE(log.find("\"POST /api/create\" 200"), std::string::npos) << log;
    EXPECT_NE(log.find("\"GET /api/game/" + x.gameId + "/join\" 200"), std::string::npos) << log;
    EXPECT_NE(log.find("/pass/-\" 409"), std::string::npos) << log;
    EXPECT_EQ(log.find(x.player), std::string::npos) << "a player id reached the log";
}

}  // namespace
}  // namespace karvel::service::server::testing
