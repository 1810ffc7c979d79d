#pragma once

#include "browser/api/HttpRequest.h"
#include "browser/api/HttpSettings.h"

namespace karvel::browser::api {

// Performs HTTP/1.1 exchanges, one new connection each, over TCP for "http://" URLs and URLs
// without a scheme and over TLS for "https://" ones.
class HttpClient {
public:
    explicit HttpClient(HttpSettings settings) : settings_(std::move(settings)) {}

    // Sends request and reports through its handlers: onStatus once the reply's headers are
    // read, then exactly one of onData (a status from 200 to 399, with the body) or onError
    // (with the failure text, "Http Error #" and the status for any other status). Whatever a
    // handler throws passes out.
    void send(const HttpRequest& request) const;

private:
    HttpSettings settings_;
};

}  // namespace karvel::browser::api
