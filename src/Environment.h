#pragma once

#include <string>

namespace karvel {

// The client's one setting, fixed when it is built.
struct Environment {
    // Base URL of the game service, an HTTPS URL whose path is "/api"; no trailing slash.
    static const std::string API_URL;
};

}  // namespace karvel
