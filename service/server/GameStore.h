#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "GameRecord.h"
#include "GameRules.h"

namespace karvel::service::server {

// The games on disk, in SQLite: WAL journal and synchronous FULL, so that a change is durable
// once its call returns. Safe to use from several threads: each call borrows one connection of
// a small pool.
class GameStore {
public:
    // Opens or creates the file; throws SqliteError if it cannot be used durably.
    GameStore(const std::string& path, std::size_t connections);
    ~GameStore();
    GameStore(const GameStore&) = delete;
    GameStore& operator=(const GameStore&) = delete;

    void insert(const GameRecord& game);
    std::optional<GameRecord> find(const std::string& id);

    // Reads the game, lets `change` alter it and writes it back, all in one write transaction
    // begun at once. Nothing is written when `change` refuses. 404 for an unknown game.
    Outcome modify(const std::string& id, const std::function<Outcome(GameRecord&)>& change,
                   GameRecord& after);

    // Deletes the games not changed or read since the given time (Unix seconds); gives how many.
    int purgeUntouchedSince(std::int64_t unixSeconds);

private:
    struct Connection;
    class Lease;

    // SQLite lets one writer in at a time; queueing here spares writers its sleep-and-retry.
    std::mutex writeMutex_;
    std::mutex poolMutex_;
    std::condition_variable poolReleased_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

}  // namespace karvel::service::server
