#include "ApiRouter.h"

#include <optional>
#include <vector>

namespace karvel::service::server {
namespace {

// Board coordinates are tiny; anything far outside is refused before it reaches the rules.
constexpr std::int64_t kCoordinateBound = 1000;

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string_view withoutQuery(std::string_view target) {
    return target.substr(0, target.find('?'));
}

std::optional<nlohmann::json> parseObject(const std::string& body) {
    nlohmann::json value = nlohmann::json::parse(body, nullptr, false);
    if (value.is_discarded() || !value.is_object()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> smallInteger(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_integer()) {
        return std::nullopt;
    }
    if (found->is_number_unsigned()) {
        const auto value = found->get<std::uint64_t>();
        return value <= kCoordinateBound ? std::optional<std::int32_t>(value) : std::nullopt;
    }
    const auto value = found->get<std::int64_t>();
    return value >= -kCoordinateBound && value <= kCoordinateBound
               ? std::optional<std::int32_t>(value)
               : std::nullopt;
}

std::optional<std::string> stringMember(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_string()) {
        return std::nullopt;
    }
    return found->get<std::string>();
}

std::optional<Position> positionMember(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_object()) {
        return std::nullopt;
    }
    const auto x = smallInteger(*found, "x");
    const auto y = smallInteger(*found, "y");
    if (!x || !y) {
        return std::nullopt;
    }
    return Position{*x, *y};
}

Reply malformed(const std::string& what) {
    return rejection(400, "Malformed request: " + what);
}

Reply createGame(GameService& games, const std::string& body) {
    const auto request = parseObject(body);
    const auto team = request ? smallInteger(*request, "startingAs") : std::nullopt;
    if (!team) {
        return malformed("expected a JSON object with the integer member startingAs");
    }
    return games.create(*team);
}

Reply moveInGame(GameService& games, const std::string& gameId, const std::string& body) {
    const auto request = parseObject(body);
    if (!request) {
        return malformed("expected a JSON object with player and move");
    }
    const auto player = stringMember(*request, "player");
    const auto moveObject = request->find("move");
    if (!player || moveObject == request->end() || !moveObject->is_object()) {
        return malformed("expected the members player (string) and move (object)");
    }
    const auto from = positionMember(*moveObject, "from");
    const auto to = positionMember(*moveObject, "to");
    if (!from || !to) {
        return malformed("move needs from and to, each an object with integers x and y");
    }
    return games.move(gameId, *player, Move{*from, *to});
}

Reply aiMoveInGame(GameService& games, const std::string& gameId, const std::string& body) {
    const auto request = parseObject(body);
    const auto player = request ? stringMember(*request, "player") : std::nullopt;
    const auto level = request ? smallInteger(*request, "level") : std::nullopt;
    if (!player || !level) {
        return malformed("expected the members player (string) and level (integer)");
    }
    return games.aiMove(gameId, *player, *level);
}

}  // namespace

ApiRouter::ApiRouter(GameService& games) : games_(games) {}

Reply ApiRouter::route(std::string_view method, std::string_view target, const std::string& body) {
    const std::vector<std::string_view> parts = splitPath(withoutQuery(target));
    // parts[0] is the empty text before the leading slash.
    if (parts.size() < 3 || !parts[0].empty() || parts[1] != "api") {
        return rejection(404, "No such endpoint");
    }
    const bool get = method == "GET";
    const bool post = method == "POST";
    const std::size_t count = parts.size();
    const auto wrongMethod = [] { return rejection(405, "This endpoint takes another method"); };

    if (count == 3 && parts[2] == "status") {
        return get ? games_.status() : wrongMethod();
    }
    if (count == 3 && parts[2] == "create") {
        return post ? createGame(games_, body) : wrongMethod();
    }
    if (count < 4 || parts[2] != "game") {
        return rejection(404, "No such endpoint");
    }
    const std::string gameId(parts[3]);
    // Trailing slashes are accepted: the AI move endpoint is named with one.
    std::vector<std::string_view> rest(parts.begin() + 4, parts.end());
    while (!rest.empty() && rest.back().empty()) {
        rest.pop_back();
    }
    if (rest.empty()) {
        return get ? games_.get(gameId) : wrongMethod();
    }
    if (rest.size() == 1 && rest[0] == "join") {
        return get ? games_.join(gameId) : wrongMethod();
    }
    if (rest.size() == 2 && rest[0] == "ai" && rest[1] == "join") {
        return get ? games_.aiJoin(gameId) : wrongMethod();
    }
    if (rest.size() == 1 && rest[0] == "move") {
        return post ? moveInGame(games_, gameId, body) : wrongMethod();
    }
    if (rest.size() == 2 && rest[0] == "ai" && rest[1] == "move") {
        return post ? aiMoveInGame(games_, gameId, body) : wrongMethod();
    }
    if (rest.size() == 2 && rest[0] == "pass") {
        return get ? games_.pass(gameId, std::string(rest[1])) : wrongMethod();
    }
    return rejection(404, "No such endpoint");
}

std::string loggableTarget(std::string_view target) {
    const std::size_t pass = target.find("/pass/");
    if (pass == std::string_view::npos) {
        return std::string(target);
    }
    return std::string(target.substr(0, pass)) + "/pass/-";
}

}  // namespace karvel::service::server
