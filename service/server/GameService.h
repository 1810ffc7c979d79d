#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

#include "GameRules.h"
#include "GameStore.h"
#include "Position.h"

namespace karvel::service::server {

// A reply to one request: an HTTP status and a JSON object.
struct Reply {
    int status;
    nlohmann::json body;
};

// The game operations of the service, one per endpoint, with ids and fields already taken out
// of the request. Every id is checked for its form before the store sees it.
class GameService {
public:
    explicit GameService(GameStore& store);

    Reply status() const;
    Reply create(Piece startingAs);
    Reply get(const std::string& gameId);
    Reply join(const std::string& gameId);
    Reply aiJoin(const std::string& gameId);
    Reply move(const std::string& gameId, const std::string& playerId, const Move& move);
    Reply aiMove(const std::string& gameId, const std::string& playerId, int level);
    Reply pass(const std::string& gameId, const std::string& playerId);

private:
    // A change by one of the game's players: ids checked, the game locked, the player's team
    // found, the change committed.
    Reply changeAsPlayer(const std::string& gameId, const std::string& playerId,
                         const std::function<Outcome(GameRecord&, Piece)>& change);
    // Requests on one game run one at a time; games sharing a lock only wait a little.
    std::mutex& lockFor(const std::string& gameId);

    GameStore& store_;
    std::array<std::mutex, 64> gameLocks_;
};

// The rejection reply: the status and {"message": ...}.
Reply rejection(int status, const std::string& message);

}  // namespace karvel::service::server
