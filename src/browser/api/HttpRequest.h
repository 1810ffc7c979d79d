#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace karvel::browser::api {

using Header = std::pair<std::string, std::string>;

// One HTTP request as the request layer builds it, with the three handlers through which the
// exchange reports: the status once the headers are read, then either the body or a failure.
struct HttpRequest {
    std::string method;  // "GET", "POST", ...
    std::string url;
    bool hasBody = false;  // a body (and so a "Content-Length" line) is sent, even when empty
    std::string body;
    std::vector<Header> headers;  // in the order they were added

    std::function<void(int status)> onStatus;
    std::function<void(const std::string& body)> onData;
    std::function<void(const std::string& failure)> onError;
};

}  // namespace karvel::browser::api
