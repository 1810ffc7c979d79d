#include "server/Api.h"

#include <utility>

namespace karvel::server {

using browser::api::ApiResponse;
using browser::api::RequestOptions;
using common::serializer::object::Json;
using common::serializer::object::JsonValue;

Api::Api(browser::api::ApiInterface& api, std::string url) : api(api), url(std::move(url)) {}

void Api::checkStatus(const StatusCallback& callback) {
    RequestOptions options;
    options.url = url + "/status";
    options.onResponse = [&callback](ApiResponse& response) { callback(response.status < 400); };
    options.onReject = [&callback](ApiResponse&) { callback(false); };
    api.get(options);
}

void Api::create(const JsonValue& data, const GameCallback& callback) {
    postGame("/create", data, callback);
}

void Api::join(const std::string& gameId, const GameCallback& callback) {
    getGame("/game/" + gameId + "/join", callback);
}

void Api::aiJoin(const std::string& gameId, const GameCallback& callback) {
    getGame("/game/" + gameId + "/ai/join", callback);
}

void Api::get(const std::string& gameId, const GameCallback& callback) {
    getGame("/game/" + gameId, callback);
}

void Api::move(const std::string& gameId, const JsonValue& data, const GameCallback& callback) {
    postGame("/game/" + gameId + "/move", data, callback);
}

void Api::aiMove(const std::string& gameId, const JsonValue& data, const GameCallback& callback) {
    postGame("/game/" + gameId + "/ai/move/", data, callback);
}

void Api::pass(const std::string& gameId, const std::string& playerId,
               const GameCallback& callback) {
    getGame("/game/" + gameId + "/pass/" + playerId, callback);
}

browser::api::ResponseCallback Api::handleGameResponse(GameCallback callback) {
    return [callback = std::move(callback)](ApiResponse& response) {
        const GameRecord reply(Json().decode(response.data));
        if (response.status < 400) {
            callback(&reply, nullptr);
        } else {
            callback(nullptr, &reply);
        }
    };
}

void Api::getGame(const std::string& path, const GameCallback& callback) {
    RequestOptions options;
    options.url = url + path;
    options.onResponse = handleGameResponse(callback);
    api.get(options);
}

void Api::postGame(const std::string& path, const JsonValue& data, const GameCallback& callback) {
    RequestOptions options;
    options.url = url + path;
    options.data = Json().encode(data);
    options.onResponse = handleGameResponse(callback);
    api.post(options);
}

}  // namespace karvel::server
