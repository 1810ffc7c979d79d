#include <gtest/gtest.h>

#include <string>

#include "browser/api/Url.h"

namespace karvel::browser::api {
namespace {

struct UrlCase {
    std::string text;
    bool tls;
    std::string host;
    std::uint16_t port;
    std::string path;
};

class GoodUrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(GoodUrlTest, SplitsIntoSchemeHostPortAndPath) {
    const UrlCase& c = GetParam();
    const std::optional<Url> url = parseUrl(c.text);
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(c.tls, url->tls);
    EXPECT_EQ(c.host, url->host);
    EXPECT_EQ(c.port, url->port);
    EXPECT_EQ(c.path, url->path);
}

INSTANTIATE_TEST_SUITE_P(
    Url, GoodUrlTest,
    ::testing::Values(
        UrlCase{"https://example.org/api/status", true, "example.org", 443, "/api/status"},
        UrlCase{"http://example.org/x", false, "example.org", 80, "/x"},
        UrlCase{"example.org/x?a=1", false, "example.org", 80, "/x?a=1"},
        UrlCase{"https://my_host-1.local:8080/api", true, "my_host-1.local", 8080, "/api"},
        UrlCase{"http://127.0.0.1:65535", false, "127.0.0.1", 65535, "/"},
        UrlCase{"https://h", true, "h", 443, "/"},
        // The pattern takes what follows the host as the path, even without "/".
        UrlCase{"http://h?q", false, "h", 80, "/?q"},
        UrlCase{"http://h:abc/x", false, "h", 80, "/:abc/x"}));

class BadUrlTest : public ::testing::TestWithParam<std::string> {};

TEST_P(BadUrlTest, IsRefused) {
    EXPECT_FALSE(parseUrl(GetParam()).has_value());
}

INSTANTIATE_TEST_SUITE_P(Url, BadUrlTest,
                         ::testing::Values("", "://h/x", ":80/x", "http://h st/", "http://h:0/x",
                                           "http://h:65536/x", "http://h:99999999999999999999/x",
                                           // Line breaks, blanks and controls would forge
                                           // request lines.
                                           "http://h/x\n", "http://h/x\r\nEvil: 1", "http://h/a b",
                                           std::string("http://h/x\0y", 12), "http://h/x\x7f"));

}  // namespace
}  // namespace karvel::browser::api
