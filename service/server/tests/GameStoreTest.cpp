#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "GameStore.h"
#include "Ids.h"
#include "Sqlite.h"

namespace karvel::service::server {
namespace {

class GameStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("karvel-store-" + newPlayerId());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string file() const { return (dir_ / "games.db").string(); }

    std::filesystem::path dir_;
};

TEST_F(GameStoreTest, AGameComesBackAsStoredAcrossReopening) {
    GameRecord game = openGame(newGameId(), 1, newPlayerId());
    game.playerTwo = newPlayerId();
    game.aiTeam = 0;
    game.state = GameState::inPlay;
    game.chainFrom = Position{3, 2};
    game.version = 7;
    {
        GameStore store(file(), 2);
        store.insert(game);
    }
    GameStore store(file(), 1);
    const std::optional<GameRecord> found = store.find(game.id);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->playerOne, game.playerOne);
    EXPECT_EQ(found->playerTwo, game.playerTwo);
    EXPECT_EQ(found->board, game.board);
    EXPECT_EQ(found->state, GameState::inPlay);
    EXPECT_EQ(found->currentPlayer, 2);
    EXPECT_EQ(found->chainFrom, game.chainFrom);
    EXPECT_EQ(found->version, 7);
    EXPECT_FALSE(store.find(newGameId()));
}

TEST_F(GameStoreTest, ModifyWritesOnlyWhatTheChangeAccepts) {
    GameStore store(file(), 1);
    const GameRecord game = openGame(newGameId(), 2, newPlayerId());
    store.insert(game);
    GameRecord after;
    const Outcome refused = store.modify(
        game.id,
        [](GameRecord& g) -> Outcome {
            g.board = "garbage";
            return Rejection{409, "no"};
        },
        after);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 409);
    EXPECT_EQ(store.find(game.id)->board, game.board);

    ASSERT_FALSE(store.modify(game.id, seatAi, after));
    EXPECT_EQ(after.aiTeam, 1);
    EXPECT_EQ(store.find(game.id)->state, GameState::inPlay);

    const Outcome missing = store.modify(
        newGameId(), [](GameRecord&) { return Outcome(); }, after);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
}

TEST_F(GameStoreTest, PurgeDeletesOnlyGamesUntouchedSinceTheCutoff) {
    GameStore store(file(), 1);
    const GameRecord game = openGame(newGameId(), 1, newPlayerId());
    store.insert(game);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    EXPECT_EQ(store.purgeUntouchedSince(now - 60), 0);
    EXPECT_TRUE(store.find(game.id));
    EXPECT_EQ(store.purgeUntouchedSince(now + 60), 1);
    EXPECT_FALSE(store.find(game.id));
}

TEST_F(GameStoreTest, TheFileIsKeptInWriteAheadLogMode) {
    { GameStore store(file(), 1); }
    SqliteConnection db(file());
    EXPECT_EQ(db.queryText("PRAGMA journal_mode"), "wal");
}

}  // namespace
}  // namespace karvel::service::server
