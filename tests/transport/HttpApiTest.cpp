#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "browser/api/Error.h"
#include "browser/api/HttpApi.h"
#include "support/ScriptedServer.h"

namespace karvel::browser::api {
namespace {

using namespace std::chrono_literals;
using testing::closedPort;
using testing::Delivery;
using testing::ScriptedServer;

const std::string kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";

HttpApi shortTimeoutApi(std::chrono::milliseconds timeout = 1s) {
    return HttpApi(HttpSettings{.caFile = "", .timeout = timeout, .limits = {}});
}

std::string urlOf(const ScriptedServer& server, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(server.port()) + path;
}

// What reached the callbacks of one request.
struct Outcome {
    std::optional<ApiResponse> response;
    std::optional<ApiResponse> rejection;
};

RequestOptions optionsFor(std::string url, Outcome& outcome) {
    RequestOptions options;
    options.url = std::move(url);
    options.onResponse = [&outcome](ApiResponse& response) { outcome.response = response; };
    options.onReject = [&outcome](ApiResponse& response) { outcome.rejection = response; };
    return options;
}

Outcome get(HttpApi& api, const std::string& url) {
    Outcome outcome;
    api.get(optionsFor(url, outcome));
    return outcome;
}

TEST(HttpApiRequestBytes, GetSendsFourLinesWithTheBareHost) {
    ScriptedServer server(kOk);
    HttpApi api = shortTimeoutApi();
    const Outcome outcome = get(api, urlOf(server, "/api/status"));
    EXPECT_EQ("GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n",
              server.request());
    ASSERT_TRUE(outcome.response);
    EXPECT_EQ(200, outcome.response->status);
    EXPECT_EQ("ok", outcome.response->data);
    EXPECT_FALSE(outcome.rejection);
}

TEST(HttpApiRequestBytes, PostSendsLengthBodyAndHeaderValuesInOrder) {
    ScriptedServer server(kOk);
    HttpApi api = shortTimeoutApi();
    Outcome outcome;
    RequestOptions options = optionsFor(urlOf(server, "api/create"), outcome);
    options.data = R"({"startingAs":1})";
    options.headers = {{{"Accept", {"application/json", "text/plain"}}}};
    api.post(options);
    EXPECT_EQ(
        "POST /api/create HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 16\r\n"
        "Connection: close\r\nAccept: application/json\r\nAccept: text/plain\r\n\r\n"
        R"({"startingAs":1})",
        server.request());
    EXPECT_TRUE(outcome.response);
}

TEST(HttpApiRequestBytes, OtherVerbsFollowPostAndGet) {
    struct Verb {
        std::function<void(HttpApi&, const RequestOptions&)> call;
        std::string expected;
    };
    const std::string tail = "Host: 127.0.0.1\r\nContent-Length: 1\r\nConnection: close\r\n\r\nx";
    const Verb verbs[] = {
        {[](HttpApi& api, const RequestOptions& o) { api.put(o); }, "PUT /r HTTP/1.1\r\n" + tail},
        {[](HttpApi& api, const RequestOptions& o) { api.patch(o); },
         "PATCH /r HTTP/1.1\r\n" + tail},
        {[](HttpApi& api, const RequestOptions& o) { api.delete_(o); },
         "DELETE /r HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"},
    };
    HttpApi api = shortTimeoutApi();
    for (const Verb& verb : verbs) {
        ScriptedServer server(kOk);
        Outcome outcome;
        RequestOptions options = optionsFor(urlOf(server, "/r"), outcome);
        options.data = "x";
        verb.call(api, options);
        EXPECT_EQ(verb.expected, server.request());
        EXPECT_TRUE(outcome.response);
    }
}

TEST(HttpApiOutcome, ErrorStatusGoesToOnRejectWithStatusAndText) {
    ScriptedServer server("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot there");
    HttpApi api = shortTimeoutApi();
    const Outcome outcome = get(api, urlOf(server, "/missing"));
    ASSERT_TRUE(outcome.rejection);
    EXPECT_EQ(404, outcome.rejection->status);
    EXPECT_EQ("Http Error #404", outcome.rejection->data);
    EXPECT_FALSE(outcome.response);
}

TEST(HttpApiOutcome, ErrorStatusWithoutOnRejectIsThrown) {
    ScriptedServer server("HTTP/1.1 500 Oops\r\nContent-Length: 0\r\n\r\n");
    HttpApi api = shortTimeoutApi();
    Outcome outcome;
    RequestOptions options = optionsFor(urlOf(server, "/"), outcome);
    options.onReject = nullptr;
    try {
        api.get(options);
        FAIL() << "no error was thrown";
    } catch (const Error& error) {
        EXPECT_EQ(500, error.status);
        EXPECT_EQ("Http Error #500", error.message);
    }
    EXPECT_FALSE(outcome.response);
}

TEST(HttpApiOutcome, StatusesAroundTheSuccessRange) {
    struct StatusCase {
        int status;
        bool succeeds;
    };
    HttpApi api = shortTimeoutApi();
    for (const StatusCase c : {StatusCase{100, false}, StatusCase{199, false},
                               StatusCase{200, true}, StatusCase{204, true}, StatusCase{301, true},
                               StatusCase{399, true}, StatusCase{400, false}}) {
        SCOPED_TRACE(c.status);
        ScriptedServer server("HTTP/1.1 " + std::to_string(c.status) +
                              " X\r\nContent-Length: 4\r\nLocation: /elsewhere\r\n\r\nbody");
        const Outcome outcome = get(api, urlOf(server, "/"));
        const std::optional<ApiResponse>& reached =
            c.succeeds ? outcome.response : outcome.rejection;
        ASSERT_TRUE(reached);
        EXPECT_EQ(c.status, reached->status);
        // A redirection is not followed: it succeeds with its own body.
        const bool hasBody = c.status >= 200 && c.status != 204;
        EXPECT_EQ(c.succeeds ? (hasBody ? "body" : "") : "Http Error #" + std::to_string(c.status),
                  reached->data);
    }
}

TEST(HttpApiOutcome, EmptyBodySucceedsWithEmptyData) {
    ScriptedServer server("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    HttpApi api = shortTimeoutApi();
    const Outcome outcome = get(api, urlOf(server, "/"));
    ASSERT_TRUE(outcome.response) << outcome.rejection->data;
    EXPECT_EQ(200, outcome.response->status);
    EXPECT_EQ("", outcome.response->data);
}

TEST(HttpApiOutcome, MissingOnResponseIsAnInvalidCall) {
    ScriptedServer server(kOk);
    HttpApi api = shortTimeoutApi();
    RequestOptions options;
    options.url = urlOf(server, "/");
    EXPECT_THROW(api.get(options), std::bad_function_call);
}

TEST(HttpApiOutcome, WhatACallbackThrowsPassesOut) {
    ScriptedServer server(kOk);
    HttpApi api = shortTimeoutApi();
    RequestOptions options;
    options.url = urlOf(server, "/");
    options.onResponse = [](ApiResponse&) { throw std::runtime_error("from the callback"); };
    int rejections = 0;
    options.onReject = [&](ApiResponse&) { ++rejections; };
    EXPECT_THROW(api.get(options), std::runtime_error);
    EXPECT_EQ(0, rejections);
}

// Failures before any status line: the text, and status 0, both ways they can reach the caller.
TEST(HttpApiFailure, FailuresBeforeAnyReply) {
    const std::string longLabel(70, 'a');
    const std::uint16_t refused = closedPort();
    struct FailureCase {
        std::string url;
        std::string text;
    };
    const FailureCase cases[] = {
        {"http://bad host/", "Invalid URL"},
        {"http://127.0.0.1:" + std::to_string(refused) + "/",
         "Failed to connect on 127.0.0.1:" + std::to_string(refused)},
        // A label too long for DNS fails in the resolver itself, with no query sent.
        {"http://" + longLabel + ".invalid/", "Unknown host:" + longLabel + ".invalid"},
    };
    HttpApi api = shortTimeoutApi();
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.url);
        const Outcome outcome = get(api, c.url);
        ASSERT_TRUE(outcome.rejection);
        EXPECT_EQ(0, outcome.rejection->status);
        EXPECT_EQ(c.text, outcome.rejection->data);
        RequestOptions options;
        options.url = c.url;
        options.onResponse = [](ApiResponse&) {};
        try {
            api.get(options);
            FAIL() << "no error was thrown";
        } catch (const Error& error) {
            EXPECT_EQ(0, error.status);
            EXPECT_EQ(c.text, error.message);
        }
    }
}

TEST(HttpApiFailure, HeaderThatWouldForgeALineSendsNothing) {
    ScriptedServer server(kOk);
    HttpApi api = shortTimeoutApi();
    Outcome outcome;
    RequestOptions options = optionsFor(urlOf(server, "/"), outcome);
    options.headers = {{{"X-A", {"1\r\nEvil: yes"}}}};
    api.get(options);
    ASSERT_TRUE(outcome.rejection);
    EXPECT_EQ("Invalid header", outcome.rejection->data);
}

TEST(HttpApiFailure, ServerWhoseQueueIsFullTimesOutTheConnect) {
    // A listener with a full accept queue drops further connection requests unanswered.
    std::uint16_t port = 0;
    const int listener = testing::listenOnLoopback(port, 0);
    const int waiting[] = {testing::connectWithoutWaiting(port),
                           testing::connectWithoutWaiting(port),
                           testing::connectWithoutWaiting(port)};
    HttpApi api = shortTimeoutApi(300ms);
    const Outcome outcome = get(api, "http://127.0.0.1:" + std::to_string(port) + "/");
    ASSERT_TRUE(outcome.rejection);
    EXPECT_EQ("Timed out connecting on 127.0.0.1:" + std::to_string(port), outcome.rejection->data);
    for (const int socket : waiting) {
        ::close(socket);
    }
    ::close(listener);
}

TEST(HttpApiFailure, ServerThatNeverReadsTimesOutTheSend) {
    // Far more than the socket buffers of both ends hold.
    ScriptedServer server("", Delivery{.holdOpen = 1s, .answerAtOnce = true});
    HttpApi api = shortTimeoutApi(300ms);
    Outcome outcome;
    RequestOptions options = optionsFor(urlOf(server, "/"), outcome);
    options.data = std::string(std::size_t{32} << 20, 'x');
    api.post(options);
    ASSERT_TRUE(outcome.rejection);
    EXPECT_EQ("Timed out sending the request", outcome.rejection->data);
}

TEST(HttpApiFailure, ServerThatNeverAnswersTimesOut) {
    ScriptedServer server("", Delivery{.holdOpen = 5s});
    HttpApi api = shortTimeoutApi(300ms);
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = get(api, urlOf(server, "/"));
    ASSERT_TRUE(outcome.rejection);
    EXPECT_EQ("Timed out receiving the reply", outcome.rejection->data);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST(HttpApiFailure, DrippingServerCannotStretchTheReplyPastTheDeadline) {
    // Each byte comes well within the time-out; the whole reply never does.
    ScriptedServer server("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(100, 'x'),
                          Delivery{.pieceSize = 1, .pause = 100ms, .holdOpen = 0ms});
    HttpApi api = shortTimeoutApi(500ms);
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = get(api, urlOf(server, "/"));
    ASSERT_TRUE(outcome.rejection);
    EXPECT_EQ("Timed out receiving the reply", outcome.rejection->data);
    EXPECT_EQ(0, outcome.rejection->status);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

// Replies from the wire, each written whole and a byte at a time.
struct WireCase {
    const char* name;
    std::string reply;
    std::optional<int> status;  // reached onReject with this status, or onResponse when absent
    std::string data;
};

class HttpApiWireTest : public ::testing::TestWithParam<WireCase> {};

TEST_P(HttpApiWireTest, SameOutcomeWholeOrByteByByte) {
    const WireCase& c = GetParam();
    HttpApi api = shortTimeoutApi(2s);
    for (const std::size_t piece : {std::string::npos, std::size_t{1}}) {
        SCOPED_TRACE(piece);
        ScriptedServer server(c.reply, Delivery{.pieceSize = piece, .pause = 0ms, .holdOpen = 0ms});
        const Outcome outcome = get(api, urlOf(server, "/"));
        if (c.status) {
            ASSERT_TRUE(outcome.rejection);
            EXPECT_EQ(*c.status, outcome.rejection->status);
            EXPECT_EQ(c.data, outcome.rejection->data);
        } else {
            ASSERT_TRUE(outcome.response);
            EXPECT_EQ(c.data, outcome.response->data);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wire, HttpApiWireTest,
    ::testing::Values(
        WireCase{"Chunked",
                 "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
                 std::nullopt, "abc"},
        WireCase{"ReadToClose", "HTTP/1.1 200 OK\r\n\r\n{\"a\":1}", std::nullopt, "{\"a\":1}"},
        WireCase{"GarbageStatus", "I am not HTTP\r\n\r\n", 0, "Response status error"},
        WireCase{"Informational", "HTTP/1.1 100 Continue\r\n\r\n", 100, "Http Error #100"},
        WireCase{"BadChunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nxyz\r\n", 200,
                 "Invalid chunk"},
        // Headers were read, so the status is known; the truncated body still fails.
        WireCase{"TruncatedBody", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", 200,
                 "Connection closed before the end of the reply"},
        WireCase{"TwoLengths",
                 "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", 0,
                 "Invalid content-length"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace karvel::browser::api
