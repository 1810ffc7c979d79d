#include <gtest/gtest.h>

#include "browser/api/RequestWriter.h"
#include "browser/api/TransportError.h"

namespace karvel::browser::api {
namespace {

TEST(RequestWriter, GetIsFourLines) {
    EXPECT_EQ("GET /api/status HTTP/1.1\r\nHost: example.org\r\nConnection: close\r\n\r\n",
              writeRequest("GET", "example.org", "/api/status", {}, std::nullopt));
}

TEST(RequestWriter, PostHasLengthInBytesThenBodyAndNoContentType) {
    EXPECT_EQ(
        "POST /api/create HTTP/1.1\r\nHost: h\r\nContent-Length: 17\r\nConnection: close\r\n"
        "X-A: 1\r\nX-A: 2\r\nX-B: 3\r\n\r\n{\"name\":\"d\xc3\xa9j\xc3\xa0\"}",
        writeRequest("POST", "h", "/api/create", {{"X-A", "1"}, {"X-A", "2"}, {"X-B", "3"}},
                     "{\"name\":\"d\xc3\xa9j\xc3\xa0\"}"));
}

TEST(RequestWriter, EmptyBodyStillHasLength) {
    EXPECT_EQ("PUT / HTTP/1.1\r\nHost: h\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
              writeRequest("PUT", "h", "/", {}, ""));
}

TEST(RequestWriter, RefusesHeadersThatWouldForgeLines) {
    const std::vector<std::vector<Header>> forged = {{{"X-A", "1\r\nEvil: 2"}},
                                                     {{"X-A", "1\nEvil: 2"}},
                                                     {{"X-A", std::string("1\0", 2)}},
                                                     {{"X A", "1"}},
                                                     {{"X-A:", "1"}},
                                                     {{"", "1"}},
                                                     {{"X-A\r\n", "1"}}};
    for (const auto& headers : forged) {
        EXPECT_THROW(writeRequest("GET", "h", "/", headers, std::nullopt), TransportError)
            << headers[0].first << ": " << headers[0].second;
    }
}

}  // namespace
}  // namespace karvel::browser::api
