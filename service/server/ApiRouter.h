#pragma once

#include <string>
#include <string_view>

#include "GameService.h"

namespace karvel::service::server {

// Turns one HTTP request under "/api" into a game operation: picks the endpoint from the method
// and path, reads the JSON body, and gives the reply. Bad input gives a 4xx reply; only a failing
// database throws.
class ApiRouter {
public:
    explicit ApiRouter(GameService& games);

    Reply route(std::string_view method, std::string_view target, const std::string& body);

private:
    GameService& games_;
};

// The target as fit for a log: player ids in paths are secrets and are masked.
std::string loggableTarget(std::string_view target);

}  // namespace karvel::service::server
