#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "browser/api/ApiInterface.h"

namespace karvel::scripted {

// A request layer with canned replies keyed by URL. Each URL's replies are used in turn; once
// they run out, the exchange fails as if the service were unreachable, so a test can never
// loop forever. Every request is written to the shared journal as "METHOD path [body]", the
// path without the base URL.
class ScriptedApi : public browser::api::ApiInterface {
public:
    ScriptedApi(std::string baseUrl, std::vector<std::string>& journal);

    // A reply that reaches onResponse with this status and body.
    void reply(const std::string& path, std::int32_t status, std::string body);
    // An exchange that fails: onReject gets it, or browser::api::Error is thrown without one.
    void fail(const std::string& path, std::int32_t status, std::string text);

    void delete_(const browser::api::RequestOptions& options) override;
    void get(const browser::api::RequestOptions& options) override;
    void patch(const browser::api::RequestOptions& options) override;
    void post(const browser::api::RequestOptions& options) override;
    void put(const browser::api::RequestOptions& options) override;

    struct Request {
        std::string method;
        std::string url;
        std::string data;
    };
    std::vector<Request> requests;

private:
    struct Outcome {
        bool failed;
        std::int32_t status;
        std::string text;
    };

    void exchange(const std::string& method, const browser::api::RequestOptions& options);

    std::string baseUrl;
    std::vector<std::string>& journal;
    std::map<std::string, std::deque<Outcome>> outcomes;
};

}  // namespace karvel::scripted
