#include "GameStore.h"

#include <chrono>

#include "Sqlite.h"

namespace karvel::service::server {
namespace {

constexpr int kBusyTimeoutMs = 5000;

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS games (
    id TEXT PRIMARY KEY NOT NULL,
    player_one TEXT NOT NULL,
    player_two TEXT NOT NULL,
    ai_team INTEGER NOT NULL,
    board TEXT NOT NULL,
    state INTEGER NOT NULL,
    current_player INTEGER NOT NULL,
    chain_x INTEGER,
    chain_y INTEGER,
    version INTEGER NOT NULL,
    touched_at INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS games_touched_at ON games (touched_at);
)sql";

const char* const kColumns =
    "id, player_one, player_two, ai_team, board, state, current_player, chain_x, chain_y, "
    "version, touched_at";
constexpr int kTouchedAtColumn = 10;
// Reading a game keeps it from being purged; the mark is refreshed at most this often.
constexpr std::int64_t kTouchIntervalSeconds = 3600;

std::int64_t nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

GameRecord readRow(const SqliteStatement& row) {
    GameRecord game;
    game.id = row.columnText(0);
    game.playerOne = row.columnText(1);
    game.playerTwo = row.columnText(2);
    game.aiTeam = static_cast<Piece>(row.columnInt(3));
    game.board = row.columnText(4);
    game.state = static_cast<GameState>(row.columnInt(5));
    game.currentPlayer = static_cast<Piece>(row.columnInt(6));
    if (!row.columnIsNull(7) && !row.columnIsNull(8)) {
        game.chainFrom = Position{static_cast<std::int32_t>(row.columnInt(7)),
                                  static_cast<std::int32_t>(row.columnInt(8))};
    }
    game.version = row.columnInt(9);
    return game;
}

// Binds every column but the id, starting at parameter 1, then the id.
void bindRecord(SqliteStatement& statement, const GameRecord& game) {
    statement.bind(1, game.playerOne);
    statement.bind(2, game.playerTwo);
    statement.bind(3, std::int64_t{game.aiTeam});
    statement.bind(4, game.board);
    statement.bind(5, static_cast<std::int64_t>(game.state));
    statement.bind(6, std::int64_t{game.currentPlayer});
    statement.bind(7,
                   game.chainFrom ? std::optional<std::int64_t>(game.chainFrom->x) : std::nullopt);
    statement.bind(8,
                   game.chainFrom ? std::optional<std::int64_t>(game.chainFrom->y) : std::nullopt);
    statement.bind(9, game.version);
    statement.bind(10, nowSeconds());
    statement.bind(11, game.id);
}

}  // namespace

struct GameStore::Connection {
    explicit Connection(const std::string& path)
        : db(path),
          insert(db,
                 "INSERT INTO games (player_one, player_two, ai_team, board, state, "
                 "current_player, chain_x, chain_y, version, touched_at, id) "
                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"),
          update(db,
                 "UPDATE games SET player_one = ?1, player_two = ?2, ai_team = ?3, board = ?4, "
                 "state = ?5, current_player = ?6, chain_x = ?7, chain_y = ?8, version = ?9, "
                 "touched_at = ?10 WHERE id = ?11"),
          select(db, std::string("SELECT ") + kColumns + " FROM games WHERE id = ?1"),
          touch(db, "UPDATE games SET touched_at = ?1 WHERE id = ?2"),
          purge(db, "DELETE FROM games WHERE touched_at < ?1") {}

    SqliteConnection db;
    SqliteStatement insert;
    SqliteStatement update;
    SqliteStatement select;
    SqliteStatement touch;
    SqliteStatement purge;
};

// Borrows a connection for the length of one call.
class GameStore::Lease {
public:
    explicit Lease(GameStore& store) : store_(store) {
        std::unique_lock lock(store_.poolMutex_);
        store_.poolReleased_.wait(lock, [this] { return !store_.idle_.empty(); });
        connection_ = std::move(store_.idle_.back());
        store_.idle_.pop_back();
    }
    ~Lease() {
        {
            const std::lock_guard lock(store_.poolMutex_);
            store_.idle_.push_back(std::move(connection_));
        }
        store_.poolReleased_.notify_one();
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    Connection* operator->() const { return connection_.get(); }

private:
    GameStore& store_;
    std::unique_ptr<Connection> connection_;
};

GameStore::GameStore(const std::string& path, std::size_t connections) {
    {
        SqliteConnection setup(path);
        setup.exec("PRAGMA busy_timeout = " + std::to_string(kBusyTimeoutMs));
        setup.exec("PRAGMA journal_mode = WAL");
        setup.exec(kSchema);
    }
    for (std::size_t i = 0; i < std::max<std::size_t>(connections, 1); ++i) {
        auto connection = std::make_unique<Connection>(path);
        SqliteConnection& db = connection->db;
        db.exec("PRAGMA busy_timeout = " + std::to_string(kBusyTimeoutMs));
        db.exec("PRAGMA synchronous = FULL");
        // A journal mode or sync level other than asked means acknowledged moves could be lost.
        if (db.queryText("PRAGMA journal_mode") != "wal") {
            throw SqliteError("the database " + path + " cannot use a write-ahead log");
        }
        if (db.queryText("PRAGMA synchronous") != "2") {
            throw SqliteError("the database " + path + " does not sync every commit (FULL)");
        }
        idle_.push_back(std::move(connection));
    }
}

GameStore::~GameStore() = default;

void GameStore::insert(const GameRecord& game) {
    Lease connection(*this);
    const std::lock_guard writing(writeMutex_);
    const StatementUse use(connection->insert);
    bindRecord(connection->insert, game);
    connection->insert.step();
}

std::optional<GameRecord> GameStore::find(const std::string& id) {
    Lease connection(*this);
    std::optional<GameRecord> game;
    std::int64_t touchedAt = 0;
    {
        const StatementUse use(connection->select);
        connection->select.bind(1, id);
        if (connection->select.step()) {
            game = readRow(connection->select);
            touchedAt = connection->select.columnInt(kTouchedAtColumn);
        }
    }
    if (game && nowSeconds() - touchedAt > kTouchIntervalSeconds) {
        const std::lock_guard writing(writeMutex_);
        const StatementUse use(connection->touch);
        connection->touch.bind(1, nowSeconds());
        connection->touch.bind(2, id);
        try {
            connection->touch.step();
        } catch (const SqliteError&) {
            // A busy database only delays the refresh to a later poll.
        }
    }
    return game;
}

Outcome GameStore::modify(const std::string& id, const std::function<Outcome(GameRecord&)>& change,
                          GameRecord& after) {
    Lease connection(*this);
    const std::lock_guard writing(writeMutex_);
    SqliteConnection& db = connection->db;
    db.exec("BEGIN IMMEDIATE");
    try {
        std::optional<GameRecord> game;
        {
            const StatementUse use(connection->select);
            connection->select.bind(1, id);
            if (connection->select.step()) {
                game = readRow(connection->select);
            }
        }
        Outcome refusal = game ? change(*game) : Outcome(Rejection{404, "No game has this id"});
        if (refusal) {
            db.exec("ROLLBACK");
            return refusal;
        }
        {
            const StatementUse use(connection->update);
            bindRecord(connection->update, *game);
            connection->update.step();
        }
        db.exec("COMMIT");
        after = std::move(*game);
        return std::nullopt;
    } catch (...) {
        if (sqlite3_get_autocommit(db.handle()) == 0) {
            sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
        throw;
    }
}

int GameStore::purgeUntouchedSince(std::int64_t unixSeconds) {
    Lease connection(*this);
    const std::lock_guard writing(writeMutex_);
    const StatementUse use(connection->purge);
    connection->purge.bind(1, unixSeconds);
    connection->purge.step();
    return connection->db.changes();
}

}  // namespace karvel::service::server
