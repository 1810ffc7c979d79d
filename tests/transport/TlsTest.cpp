#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "browser/api/HttpApi.h"
#include "support/ScriptedServer.h"
#include "support/TlsServer.h"

namespace karvel::browser::api {
namespace {

using namespace std::chrono_literals;
using testing::Delivery;
using testing::ScriptedServer;
using testing::TlsBehaviour;
using testing::TlsServer;

const std::string kReply = "HTTP/1.1 200 OK\r\nContent-Length: 40\r\n\r\n" + std::string(40, 'z');

// A certificate authority and server certificates, made with the openssl command once for
// all the tests in a temporary folder.
class TlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/karvel-tls-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        folder_ = pattern;
        const std::string script = "cd " + folder_.string() + R"( && {
            key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1"; }
            authority() {
                key "$1.key" &&
                openssl req -x509 -new -key "$1.key" -out "$1.pem" -subj "/CN=$1" -days 2
            }
            # server NAME HOST AUTHORITY DAYS
            server() {
                key "$1.key" &&
                openssl req -new -key "$1.key" -out "$1.csr" -subj "/CN=$2" &&
                printf 'subjectAltName=DNS:%s\n' "$2" > "$1.ext" &&
                openssl x509 -req -in "$1.csr" -CA "$3.pem" -CAkey "$3.key" -CAcreateserial \
                    -extfile "$1.ext" -days "$4" -out "$1.pem"
            }
            authority ca && authority stranger &&
            server good localhost ca 2 &&
            server expired localhost ca -1 &&
            server elsewhere elsewhere.test ca 2 &&
            server untrusted localhost stranger 2 &&
            : > empty.pem && echo 'not a certificate' > garbage.pem
        } > openssl.log 2>&1)";
        ASSERT_EQ(0, std::system(script.c_str())) << "openssl failed, see " << folder_;
    }

    static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }

    static std::string file(const std::string& name) { return (folder_ / name).string(); }

    static HttpApi apiTrusting(const std::string& caFile, std::chrono::milliseconds timeout = 2s) {
        return HttpApi(HttpSettings{.caFile = caFile, .timeout = timeout, .limits = {}});
    }

    struct Outcome {
        std::optional<ApiResponse> response;
        std::optional<ApiResponse> rejection;
    };

    static Outcome get(HttpApi& api, const std::string& url) {
        Outcome outcome;
        RequestOptions options;
        options.url = url;
        options.onResponse = [&](ApiResponse& response) { outcome.response = response; };
        options.onReject = [&](ApiResponse& response) { outcome.rejection = response; };
        api.get(options);
        return outcome;
    }

    static std::string localhost(std::uint16_t port, const std::string& path = "/") {
        return "https://localhost:" + std::to_string(port) + path;
    }

    static inline std::filesystem::path folder_;
};

TEST_F(TlsTest, TrustedMatchingCertificateSucceedsAndSendsTheServerName) {
    TlsServer server(file("good.pem"), file("good.key"), kReply);
    HttpApi api = apiTrusting(file("ca.pem"));
    const Outcome outcome = get(api, localhost(server.port(), "/api/status"));
    ASSERT_TRUE(outcome.response) << outcome.rejection->data;
    EXPECT_EQ(200, outcome.response->status);
    EXPECT_EQ(std::string(40, 'z'), outcome.response->data);
    EXPECT_EQ("localhost", server.serverName());
    EXPECT_EQ("GET /api/status HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n",
              server.request());
}

TEST_F(TlsTest, CertificatesThatMustNotBeTrustedFailTheRequest) {
    struct CertificateCase {
        std::string name;
        std::string reason;  // part of the failure text
    };
    const CertificateCase cases[] = {
        {"untrusted", "not correctly signed by the trusted CA"},
        {"elsewhere", "does not match with the expected CN"},
        {"expired", "validity has expired"},
    };
    HttpApi api = apiTrusting(file("ca.pem"));
    for (const CertificateCase& c : cases) {
        SCOPED_TRACE(c.name);
        TlsServer server(file(c.name + ".pem"), file(c.name + ".key"), kReply);
        const Outcome outcome = get(api, localhost(server.port()));
        ASSERT_TRUE(outcome.rejection);
        EXPECT_EQ(0, outcome.rejection->status);
        EXPECT_TRUE(outcome.rejection->data.starts_with("Certificate verification failed: "))
            << outcome.rejection->data;
        EXPECT_NE(std::string::npos, outcome.rejection->data.find(c.reason))
            << outcome.rejection->data;
        EXPECT_EQ("", server.request());
    }
}

TEST_F(TlsTest, BuiltInTrustAnchorsAreLoadedAndDoNotTrustTheTestAuthority) {
    TlsServer server(file("good.pem"), file("good.key"), kReply);
    HttpApi api;
    const Outcome outcome = get(api, localhost(server.port()));
    ASSERT_TRUE(outcome.rejection);
    EXPECT_TRUE(outcome.rejection->data.starts_with("Certificate verification failed: "))
        << outcome.rejection->data;
}

TEST_F(TlsTest, TrustFileThatGivesNoCertificateFailsBeforeConnecting) {
    // Nothing listens on the port: had the client tried to connect, the text would say so.
    const std::uint16_t port = testing::closedPort();
    // A folder and a device too: reading them as files would ask for absurd amounts.
    for (const std::string& path : {file("missing.pem"), file("empty.pem"), file("garbage.pem"),
                                    folder_.string(), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        HttpApi api = apiTrusting(path);
        const Outcome outcome = get(api, localhost(port));
        ASSERT_TRUE(outcome.rejection);
        EXPECT_EQ("No trusted certificates could be read from " + path, outcome.rejection->data);
    }
}

TEST_F(TlsTest, ServerThatNeverFinishesTheHandshakeTimesOut) {
    ScriptedServer silent("", Delivery{.holdOpen = 5s});
    HttpApi api = apiTrusting(file("ca.pem"), 300ms);
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = get(api, localhost(silent.port()));
    ASSERT_TRUE(outcome.rejection);
    EXPECT_EQ("Timed out in the TLS handshake with localhost:" + std::to_string(silent.port()),
              outcome.rejection->data);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST_F(TlsTest, PlainHttpServerFailsTheHandshake) {
    ScriptedServer plain("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n",
                         Delivery{.answerAtOnce = true});
    HttpApi api = apiTrusting(file("ca.pem"));
    const Outcome outcome = get(api, localhost(plain.port()));
    ASSERT_TRUE(outcome.rejection);
    EXPECT_TRUE(outcome.rejection->data.starts_with("TLS handshake failed: "))
        << outcome.rejection->data;
}

TEST_F(TlsTest, FatalAlertMidReplyFailsTheRequest) {
    TlsServer server(file("good.pem"), file("good.key"), kReply, TlsBehaviour::AlertMidReply);
    HttpApi api = apiTrusting(file("ca.pem"));
    const Outcome outcome = get(api, localhost(server.port()));
    ASSERT_TRUE(outcome.rejection);
    EXPECT_EQ(200, outcome.rejection->status);
    EXPECT_TRUE(outcome.rejection->data.starts_with("TLS error while receiving: "))
        << outcome.rejection->data;
}

}  // namespace
}  // namespace karvel::browser::api
