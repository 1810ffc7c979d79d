#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "browser/api/ApiResponse.h"

namespace karvel::browser::api {

using ResponseCallback = std::function<void(ApiResponse&)>;

// One request: the full URL, the body (post only), extra header lines and the two callbacks.
struct RequestOptions {
    std::string url;
    std::string data;
    // Each value of a name gives one header line, in list order.
    std::optional<std::map<std::string, std::vector<std::string>>> headers;
    ResponseCallback onResponse;  // must be set
    ResponseCallback onReject;    // may be empty: a failure is then thrown as browser::api::Error
};

}  // namespace karvel::browser::api
