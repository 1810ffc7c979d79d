#pragma once

#include <functional>
#include <string>

#include "browser/api/ApiInterface.h"
#include "browser/api/RequestOptions.h"
#include "common/serializer/object/Json.h"
#include "server/GameRecord.h"

namespace karvel::server {

// The client of the game service: one operation per endpoint. Each sends one request through
// the request layer and runs its callback before it returns. A failed request (no connection,
// an error status) is thrown as browser::api::Error, and a reply that is not JSON as the JSON
// reader's parse error; neither reaches the callback.
class Api {
public:
    using StatusCallback = std::function<void(bool available)>;

    // `url` is the base URL, without a trailing slash; paths are appended as they are.
    Api(browser::api::ApiInterface& api, std::string url);

    // Service
    void checkStatus(const StatusCallback& callback);  // never throws for a failed request

    // Setting up a game
    void create(const common::serializer::object::JsonValue& data, const GameCallback& callback);
    void join(const std::string& gameId, const GameCallback& callback);
    void aiJoin(const std::string& gameId, const GameCallback& callback);

    // Playing it
    void get(const std::string& gameId, const GameCallback& callback);
    void move(const std::string& gameId, const common::serializer::object::JsonValue& data,
              const GameCallback& callback);
    void aiMove(const std::string& gameId, const common::serializer::object::JsonValue& data,
                const GameCallback& callback);
    void pass(const std::string& gameId, const std::string& playerId, const GameCallback& callback);

    // Decodes a reply and hands it to `callback`: as the game below status 400, as the error
    // from 400 up.
    static browser::api::ResponseCallback handleGameResponse(GameCallback callback);

private:
    void getGame(const std::string& path, const GameCallback& callback);
    void postGame(const std::string& path, const common::serializer::object::JsonValue& data,
                  const GameCallback& callback);

    browser::api::ApiInterface& api;
    const std::string url;
};

}  // namespace karvel::server
