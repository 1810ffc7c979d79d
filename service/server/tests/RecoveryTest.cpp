// The service killed or stopped mid-play, then started again on the same database file.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <atomic>
#include <random>
#include <thread>

#include "Referee.h"
#include "ServiceFixture.h"

namespace karvel::service::server::testing {
namespace {

using RecoveryTest = ServiceFixture;

std::string integrityCheck(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
        result = sqlite3_step(statement) == SQLITE_ROW
                     ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))
                     : "no answer";
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return result;
}

// A game scripted in advance: the moves in order, and the board after each of them.
struct ScriptedGame {
    Seat x;
    Seat o;
    std::vector<Move> moves;
    std::vector<Piece> movers;
    std::vector<std::string> boards;  // boards[k]: after k moves
    std::atomic<std::size_t> acknowledged{0};
};

void script(ScriptedGame& game, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    Referee referee;
    game.boards.push_back(referee.board.toString());
    while (!referee.ended && game.moves.size() < 12) {
        const std::vector<Move> moves = referee.legalMoves();
        const Move chosen = moves[random() % moves.size()];
        game.movers.push_back(referee.toMove);
        referee.jump(chosen);
        game.moves.push_back(chosen);
        game.boards.push_back(referee.board.toString());
    }
}

TEST_F(RecoveryTest, AKilledServiceKeepsEveryAcknowledgedMove) {
    constexpr std::size_t kGames = 6;
    std::vector<std::unique_ptr<ScriptedGame>> games;
    for (std::size_t i = 0; i < kGames; ++i) {
        auto game = std::make_unique<ScriptedGame>();
        game->x = create(2);
        game->o = join(game->x.gameId);
        script(*game, i + 11);
        games.push_back(std::move(game));
    }
    std::atomic<std::size_t> total{0};
    std::vector<std::thread> players;
    players.reserve(kGames);
    for (auto& game : games) {
        players.emplace_back([this, &game = *game, &total] {
            for (std::size_t k = 0; k < game.moves.size(); ++k) {
                const Seat& mover = game.movers[k] == 2 ? game.x : game.o;
                if (move(mover, game.moves[k]).status != 200) {
                    return;  // the service is gone
                }
                game.acknowledged = k + 1;
                ++total;
            }
        });
    }
    while (total < kGames * 4) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    service_->signal(SIGKILL);
    for (auto& player : players) {
        player.join();
    }
    const int status = service_->waitForExit();
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(integrityCheck(service_->databaseFile()), "ok");

    start();
    for (const auto& game : games) {
        const nlohmann::json stored = get(game->x.gameId).json();
        const std::size_t acked = game->acknowledged;
        // A move in flight at the kill may or may not have been committed; nothing else may.
        const bool asAcknowledged = stored["board"] == game->boards[acked];
        const bool oneInFlight =
            acked + 1 < game->boards.size() && stored["board"] == game->boards[acked + 1];
        EXPECT_TRUE(asAcknowledged || oneInFlight)
            << "game " << game->x.gameId << " has " << stored << " after " << acked << " moves";
    }
    // The games go on after the restart.
    ScriptedGame& first = *games.front();
    const std::size_t next = get(first.x.gameId).json()["board"] == first.boards[first.acknowledged]
                                 ? first.acknowledged.load()
                                 : first.acknowledged + 1;
    if (next < first.moves.size()) {
        const Seat& mover = first.movers[next] == 2 ? first.x : first.o;
        EXPECT_EQ(move(mover, first.moves[next]).status, 200);
    }
}

TEST_F(RecoveryTest, SigtermFinishesTheRequestInFlightThenExitsCleanly) {
    // The service's first Hard move solves the game, long enough to signal during it. A signal
    // that comes before the request was even read proves nothing: then try again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) {
            start();
        }
        const Seat human = create(1);
        ASSERT_EQ(service_->client().get("/api/game/" + human.gameId + "/ai/join").status, 200);
        HttpReply reply;
        std::thread request([&] { reply = aiMove(human, 2); });
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        service_->signal(SIGTERM);
        request.join();
        const int status = service_->waitForExit();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << service_->log();
        EXPECT_NE(service_->log().find("karvel-service stopped"), std::string::npos);
        EXPECT_EQ(integrityCheck(service_->databaseFile()), "ok");
        const bool handled = service_->log().find("/ai/move/\" 200") != std::string::npos;
        if (!handled && reply.status == 0) {
            continue;
        }
        ASSERT_EQ(reply.status, 200) << "the request in flight was dropped";
        start();
        EXPECT_EQ(get(human.gameId).json()["board"], reply.json()["board"]);
        return;
    }
    FAIL() << "the signal never came while the request was in flight";
}

TEST_F(RecoveryTest, GamesUntouchedLongerThanThePurgeAgeAreDeletedAtStart) {
    const Seat old = create(1);
    const Seat recent = create(1);
    service_->signal(SIGTERM);
    service_->waitForExit();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(service_->databaseFile().c_str(), &db), SQLITE_OK);
    const std::string age =
        "UPDATE games SET touched_at = touched_at - 3 * 86400 - 60 WHERE id = '" + old.gameId + "'";
    EXPECT_EQ(sqlite3_exec(db, age.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    start({"--purge-after-days", "3"});
    EXPECT_EQ(get(old.gameId).status, 404);
    EXPECT_EQ(get(recent.gameId).status, 200);
}

}  // namespace
}  // namespace karvel::service::server::testing
