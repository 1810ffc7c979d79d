// Many requests at once on one game: each turn is taken exactly once.
#include <atomic>
#include <thread>

#include "Referee.h"
#include "ServiceFixture.h"

namespace karvel::service::server::testing {
namespace {

class ConcurrencyTest : public ServiceFixture {
protected:
    void SetUp() override { start({"--timeout", "5", "--threads", "4"}); }
};

TEST_F(ConcurrencyTest, TheSameMoveSentAtOnceIsAppliedExactlyOnce) {
    constexpr int kSenders = 8;
    const Seat x = create(2);
    const Seat o = join(x.gameId);
    Referee referee;
    for (int turn = 0; turn < 4 && !referee.ended; ++turn) {
        const Move chosen = referee.legalMoves().front();
        const Seat& mover = referee.toMove == 2 ? x : o;
        std::atomic<int> applied{0};
        std::atomic<int> refused{0};
        std::atomic<bool> go{false};
        std::vector<std::thread> senders;
        senders.reserve(kSenders);
        for (int i = 0; i < kSenders; ++i) {
            senders.emplace_back([&] {
                while (!go) {
                    std::this_thread::yield();
                }
                const int status = move(mover, chosen).status;
                ++(status == 200 ? applied : refused);
                EXPECT_TRUE(status == 200 || status == 409) << status;
            });
        }
        go = true;
        for (auto& sender : senders) {
            sender.join();
        }
        EXPECT_EQ(applied, 1);
        EXPECT_EQ(refused, kSenders - 1);
        referee.jump(chosen);
        if (referee.chainFrom) {
            ASSERT_EQ(pass(mover).status, 200);
            referee.pass();
        }
        EXPECT_EQ(get(x.gameId).json()["board"], referee.board.toString());
    }
}

TEST_F(ConcurrencyTest, ManyGamesPlayedAtOnceStayApart) {
    constexpr int kGames = 6;
    std::vector<std::thread> players;
    players.reserve(kGames);
    std::atomic<int> failures{0};
    for (int g = 0; g < kGames; ++g) {
        players.emplace_back([&] {
            const Seat x = create(2);
            const Seat o = join(x.gameId);
            Referee referee;
            for (int k = 0; k < 10 && !referee.ended; ++k) {
                const Move chosen = referee.legalMoves().back();
                const HttpReply reply = move(referee.toMove == 2 ? x : o, chosen);
                referee.jump(chosen);
                if (reply.status != 200 || reply.json()["board"] != referee.board.toString()) {
                    ++failures;
                }
            }
        });
    }
    for (auto& player : players) {
        player.join();
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace karvel::service::server::testing
