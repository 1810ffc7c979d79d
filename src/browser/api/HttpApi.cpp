#include "browser/api/HttpApi.h"

#include "browser/api/Error.h"

namespace karvel::browser::api {

HttpApi::HttpApi()
    : HttpApi(HttpSettings{
          .caFile = KARVEL_CA_FILE, .timeout = std::chrono::seconds(10), .limits = {}}) {}

HttpApi::HttpApi(HttpSettings settings) : client_(std::move(settings)) {}

void HttpApi::get(const RequestOptions& options) {
    send("GET", false, options);
}

void HttpApi::post(const RequestOptions& options) {
    send("POST", true, options);
}

// The verbs nobody calls yet go out like their nearest kin: PUT and PATCH carry the body as
// POST does, DELETE carries none, as GET.
void HttpApi::put(const RequestOptions& options) {
    send("PUT", true, options);
}

void HttpApi::patch(const RequestOptions& options) {
    send("PATCH", true, options);
}

void HttpApi::delete_(const RequestOptions& options) {
    send("DELETE", false, options);
}

void HttpApi::send(const char* method, bool withBody, const RequestOptions& options) const {
    HttpRequest http;
    http.method = method;
    http.url = options.url;
    if (withBody) {
        http.hasBody = true;
        http.body = options.data;
    }
    processRequest(http, options);
    client_.send(http);
}

void HttpApi::addHeaders(HttpRequest& http, const RequestOptions& options) {
    if (!options.headers) {
        return;
    }
    for (const auto& [name, values] : *options.headers) {
        for (const std::string& value : values) {
            http.headers.emplace_back(name, value);
        }
    }
}

std::function<void(int)> HttpApi::handleStatus(HttpRequest& http,
                                               const std::shared_ptr<ApiResponse>& response) {
    http.onStatus = [response](int status) { response->status = status; };
    return http.onStatus;
}

std::function<void(const std::string&)> HttpApi::handleData(
    HttpRequest& http, const RequestOptions& options,
    const std::shared_ptr<ApiResponse>& response) {
    // A missing onResponse throws std::bad_function_call out of the request.
    http.onData = [&options, response](const std::string& body) {
        response->data = body;
        options.onResponse(*response);
    };
    return http.onData;
}

std::function<void(const std::string&)> HttpApi::handleError(
    HttpRequest& http, const RequestOptions& options,
    const std::shared_ptr<ApiResponse>& response) {
    http.onError = [&options, response](const std::string& failure) {
        Error error(response->status, failure);
        response->data = failure;
        if (!options.onReject) {
            throw error;
        }
        options.onReject(*response);
    };
    return http.onError;
}

void HttpApi::processRequest(HttpRequest& http, const RequestOptions& options) {
    addHeaders(http, options);
    const auto response = std::make_shared<ApiResponse>();
    handleStatus(http, response);
    handleError(http, options, response);
    handleData(http, options, response);
}

}  // namespace karvel::browser::api
