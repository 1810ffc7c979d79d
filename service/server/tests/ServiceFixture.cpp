#include "ServiceFixture.h"

namespace karvel::service::server::testing {

std::string moveBody(const std::string& player, const Move& move) {
    const nlohmann::json body = {{"player", player},
                                 {"move",
                                  {{"to", {{"x", move.to.x}, {"y", move.to.y}}},
                                   {"from", {{"x", move.from.x}, {"y", move.from.y}}}}}};
    return body.dump();
}

void ServiceFixture::start(std::vector<std::string> extra) {
    service_.reset();
    service_ = std::make_unique<ServiceProcess>(dir_.path(), std::move(extra));
}

Seat ServiceFixture::create(Piece team) const {
    const HttpReply reply =
        service_->client().post("/api/create", nlohmann::json{{"startingAs", team}}.dump());
    EXPECT_EQ(reply.status, 200) << reply.body;
    const nlohmann::json game = reply.json();
    return Seat{game.value("id", ""), game.value("player", ""), team};
}

Seat ServiceFixture::join(const std::string& gameId) const {
    const HttpReply reply = service_->client().get("/api/game/" + gameId + "/join");
    EXPECT_EQ(reply.status, 200) << reply.body;
    const nlohmann::json game = reply.json();
    return Seat{gameId, game.value("player", ""), game.value("team", 0)};
}

HttpReply ServiceFixture::get(const std::string& gameId) const {
    return service_->client().get("/api/game/" + gameId);
}

HttpReply ServiceFixture::move(const Seat& seat, const Move& move) const {
    return service_->client().post("/api/game/" + seat.gameId + "/move",
                                   moveBody(seat.player, move));
}

HttpReply ServiceFixture::aiMove(const Seat& seat, int level) const {
    return service_->client().post(
        "/api/game/" + seat.gameId + "/ai/move/",
        nlohmann::json{{"player", seat.player}, {"level", level}}.dump());
}

HttpReply ServiceFixture::pass(const Seat& seat) const {
    return service_->client().get("/api/game/" + seat.gameId + "/pass/" + seat.player);
}

}  // namespace karvel::service::server::testing
