#include "support/ScriptedApi.h"

#include <utility>

#include "browser/api/Error.h"

namespace karvel::scripted {

using browser::api::ApiResponse;
using browser::api::RequestOptions;

ScriptedApi::ScriptedApi(std::string baseUrl, std::vector<std::string>& journal)
    : baseUrl(std::move(baseUrl)), journal(journal) {}

void ScriptedApi::reply(const std::string& path, std::int32_t status, std::string body) {
    outcomes[baseUrl + path].push_back({false, status, std::move(body)});
}

void ScriptedApi::fail(const std::string& path, std::int32_t status, std::string text) {
    outcomes[baseUrl + path].push_back({true, status, std::move(text)});
}

void ScriptedApi::delete_(const RequestOptions& options) {
    exchange("DELETE", options);
}

void ScriptedApi::get(const RequestOptions& options) {
    exchange("GET", options);
}

void ScriptedApi::patch(const RequestOptions& options) {
    exchange("PATCH", options);
}

void ScriptedApi::post(const RequestOptions& options) {
    exchange("POST", options);
}

void ScriptedApi::put(const RequestOptions& options) {
    exchange("PUT", options);
}

void ScriptedApi::exchange(const std::string& method, const RequestOptions& options) {
    requests.push_back({method, options.url, options.data});
    std::string entry = method + " ";
    entry += options.url.starts_with(baseUrl) ? options.url.substr(baseUrl.size()) : options.url;
    if (!options.data.empty()) {
        entry += " " + options.data;
    }
    journal.push_back(entry);

    Outcome outcome{true, 0, "Failed to connect on scripted:443"};
    auto found = outcomes.find(options.url);
    if (found != outcomes.end() && !found->second.empty()) {
        outcome = std::move(found->second.front());
        found->second.pop_front();
    }
    ApiResponse response{outcome.status, outcome.text};
    if (!outcome.failed) {
        options.onResponse(response);
    } else if (options.onReject) {
        options.onReject(response);
    } else {
        throw browser::api::Error(outcome.status, outcome.text);
    }
}

}  // namespace karvel::scripted
