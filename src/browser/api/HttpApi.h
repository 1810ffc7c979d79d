#pragma once

#include <functional>
#include <memory>
#include <string>

#include "browser/api/ApiInterface.h"
#include "browser/api/HttpClient.h"
#include "browser/api/HttpRequest.h"

namespace karvel::browser::api {

// The request layer over HTTP/1.1: each call is one blocking exchange on a new connection,
// and its outcome reaches options.onResponse, options.onReject, or is thrown as Error.
class HttpApi : public ApiInterface {
public:
    // The trust anchors chosen when the client was built, and 10-second time-outs.
    HttpApi();
    explicit HttpApi(HttpSettings settings);

    void delete_(const RequestOptions& options) override;
    void get(const RequestOptions& options) override;
    void patch(const RequestOptions& options) override;
    void post(const RequestOptions& options) override;
    void put(const RequestOptions& options) override;

    // One header line per value of each name in options.headers, in list order.
    static void addHeaders(HttpRequest& http, const RequestOptions& options);
    // Each installs its handler on http and returns it.
    static std::function<void(int)> handleStatus(HttpRequest& http,
                                                 const std::shared_ptr<ApiResponse>& response);
    static std::function<void(const std::string&)> handleData(
        HttpRequest& http, const RequestOptions& options,
        const std::shared_ptr<ApiResponse>& response);
    static std::function<void(const std::string&)> handleError(
        HttpRequest& http, const RequestOptions& options,
        const std::shared_ptr<ApiResponse>& response);
    // Headers, then a fresh response record, then the three handlers.
    static void processRequest(HttpRequest& http, const RequestOptions& options);

private:
    void send(const char* method, bool withBody, const RequestOptions& options) const;

    HttpClient client_;
};

}  // namespace karvel::browser::api
