// Requests meant to exhaust the service: each is cut off, and the service keeps serving.
#include <thread>

#include "ServiceFixture.h"

namespace karvel::service::server::testing {
namespace {

using namespace std::chrono_literals;

// Far more than any limit of the service: sending this much means nothing stopped it.
constexpr std::size_t kEnough = std::size_t{64} * 1024 * 1024;

// Two request threads and a two-second time-out, from the fixture.
class HostileRequestTest : public ServiceFixture {
protected:
    RawTlsConnection connect() const {
        return RawTlsConnection(service_->port(), testCerts().caFile);
    }
    void expectStillServing() const {
        EXPECT_EQ(service_->client().get("/api/status").status, 200);
    }
    bool logged(const std::string& line) const {
        return service_->log().find(line) != std::string::npos;
    }
};

TEST_F(HostileRequestTest, ABodyDeclaredTooLargeIsRefusedBeforeItIsRead) {
    RawTlsConnection connection = connect();
    ASSERT_TRUE(connection.handshakeDone());
    ASSERT_TRUE(connection.write(
        "POST /api/create HTTP/1.1\r\nHost: localhost\r\nContent-Length: 1000000000\r\n\r\n"));
    const std::string answer = connection.readUntilClosed(5s);
    EXPECT_EQ(answer.rfind("HTTP/1.1 413", 0), 0U) << answer;
    EXPECT_NE(answer.find("\"message\""), std::string::npos) << answer;
    expectStillServing();
}

TEST_F(HostileRequestTest, AnEndlessChunkedBodyIsCutOff) {
    RawTlsConnection connection = connect();
    ASSERT_TRUE(connection.write(
        "POST /api/create HTTP/1.1\r\nHost: localhost\r\nTransfer-Encoding: chunked\r\n\r\n"));
    const std::string chunk = "400\r\n" + std::string(1024, 'a') + "\r\n";
    std::size_t sent = 0;
    while (sent < kEnough && connection.write(chunk, 2s)) {
        sent += chunk.size();
    }
    EXPECT_LT(sent, kEnough) << "the service kept reading";
    EXPECT_TRUE(logged("\"POST /api/create\" 413")) << service_->log();
    expectStillServing();
}

TEST_F(HostileRequestTest, AHeaderLineWithoutEndIsCutOff) {
    RawTlsConnection connection = connect();
    ASSERT_TRUE(connection.write("GET /api/status HTTP/1.1\r\nHost: localhost\r\nX-Pad: "));
    std::size_t sent = 0;
    const std::string pad(1024, 'a');
    while (sent < kEnough && connection.write(pad, 2s)) {
        sent += pad.size();
    }
    EXPECT_LT(sent, kEnough) << "the service kept reading";
    EXPECT_TRUE(logged("431")) << service_->log();
    expectStillServing();
}

TEST_F(HostileRequestTest, ABodySentAByteASecondIsCutOffAtTheTimeOut) {
    RawTlsConnection connection = connect();
    const std::string body = R"({"startingAs":1})";
    ASSERT_TRUE(
        connection.write("POST /api/create HTTP/1.1\r\nHost: localhost\r\nContent-Length: " +
                         std::to_string(body.size()) + "\r\n\r\n"));
    const auto start = std::chrono::steady_clock::now();
    std::size_t sent = 0;
    while (sent < body.size() && connection.write(body.substr(sent, 1))) {
        ++sent;
        if (connection.closedWithin(1s)) {
            break;
        }
    }
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(sent, body.size()) << "the whole slow body was accepted";
    EXPECT_LT(took, 8s);
    expectStillServing();
}

// More idle connections than threads, some never starting TLS: requests are still answered,
// idle connections are closed at the time-out and the memory stays small.
TEST_F(HostileRequestTest, IdleConnectionsNeitherBlockRequestsNorGrowMemory) {
    expectStillServing();
    const long before = service_->residentKiB();
    std::vector<std::unique_ptr<IdleTcpConnection>> silent;
    std::vector<std::unique_ptr<RawTlsConnection>> idle;
    for (int i = 0; i < 40; ++i) {
        silent.push_back(std::make_unique<IdleTcpConnection>(service_->port()));
        idle.push_back(std::make_unique<RawTlsConnection>(service_->port(), testCerts().caFile));
        ASSERT_TRUE(idle.back()->handshakeDone());
        ASSERT_TRUE(idle.back()->write("GET /api/status HTTP/1.1\r\nHost: loc"));
    }
    for (int i = 0; i < 5; ++i) {
        const Seat x = create(2);
        EXPECT_EQ(get(x.gameId).status, 200);
    }
    const long during = service_->residentKiB();
    EXPECT_LT(during - before, 32 * 1024) << "KiB resident before " << before;

    EXPECT_TRUE(silent.front()->closedWithin(5s)) << "a connection without handshake was kept";
    EXPECT_TRUE(idle.back()->closedWithin(5s)) << "a half-sent request was kept";
    expectStillServing();
}

TEST_F(HostileRequestTest, ConnectionsOverTheBoundAreDroppedWhileOthersAreServed) {
    start({"--timeout", "3", "--threads", "2", "--max-connections", "8"});
    std::vector<std::unique_ptr<IdleTcpConnection>> filling;
    filling.reserve(8);
    for (int i = 0; i < 8; ++i) {
        filling.push_back(std::make_unique<IdleTcpConnection>(service_->port()));
    }
    IdleTcpConnection extra(service_->port());
    EXPECT_TRUE(extra.closedWithin(1s)) << "a ninth connection was kept open";
    filling.clear();  // the service notices the closes and frees the places
    std::this_thread::sleep_for(200ms);
    expectStillServing();
}

}  // namespace
}  // namespace karvel::service::server::testing
