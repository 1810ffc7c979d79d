#pragma once

#include <string>
#include <vector>

#include "HttpServer.h"

namespace karvel::service::server {

struct ServiceOptions {
    HttpServerConfig http;
    std::string databaseFile = "karvel-service.db";
    int purgeAfterDays = 7;
};

// What the command line asks for.
struct CommandLine {
    enum class Action { serve, help, solve, invalid };
    Action action = Action::serve;
    ServiceOptions options;
    std::string error;  // set for Action::invalid
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);
std::string usageText();

}  // namespace karvel::service::server
