#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "GameStore.h"

namespace karvel::service::server {

// Deletes games left untouched longer than `maxAge`: once at start, then every `interval`,
// on a thread of its own until destroyed.
class PurgeScheduler {
public:
    PurgeScheduler(GameStore& store, std::chrono::seconds maxAge, std::chrono::seconds interval);
    ~PurgeScheduler();
    PurgeScheduler(const PurgeScheduler&) = delete;
    PurgeScheduler& operator=(const PurgeScheduler&) = delete;

private:
    void purgeOnce();

    GameStore& store_;
    std::chrono::seconds maxAge_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::jthread thread_;  // last: started once everything it uses exists
};

}  // namespace karvel::service::server
