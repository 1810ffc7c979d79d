#include "PurgeScheduler.h"

#include <cstdio>
#include <exception>

namespace karvel::service::server {

PurgeScheduler::PurgeScheduler(GameStore& store, std::chrono::seconds maxAge,
                               std::chrono::seconds interval)
    : store_(store), maxAge_(maxAge) {
    purgeOnce();
    thread_ = std::jthread([this, interval](const std::stop_token& stop) {
        std::unique_lock lock(mutex_);
        while (true) {
            // Wakes early only when asked to stop.
            wake_.wait_for(lock, stop, interval, [] { return false; });
            if (stop.stop_requested()) {
                return;
            }
            lock.unlock();
            purgeOnce();
            lock.lock();
        }
    });
}

PurgeScheduler::~PurgeScheduler() {
    thread_.request_stop();
}

void PurgeScheduler::purgeOnce() {
    const auto cutoff = std::chrono::system_clock::now() - maxAge_;
    try {
        const int purged = store_.purgeUntouchedSince(
            std::chrono::duration_cast<std::chrono::seconds>(cutoff.time_since_epoch()).count());
        if (purged > 0) {
            std::fprintf(stderr, "purged %d games untouched for %lld days\n", purged,
                         static_cast<long long>(maxAge_.count() / 86400));
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "purge failed: %s\n", failure.what());
    }
}

}  // namespace karvel::service::server
