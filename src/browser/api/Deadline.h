#pragma once

#include <chrono>
#include <string>
#include <utility>

#include "browser/api/TransportError.h"

namespace karvel::browser::api {

// The end of the time allowed for one network step, with the failure text reported when it
// passes. One deadline covers a whole step (every read of a reply, say), so a peer that
// trickles bytes cannot stretch the step.
class Deadline {
public:
    Deadline(std::chrono::milliseconds budget, std::string failureText)
        : end_(std::chrono::steady_clock::now() + budget), failureText_(std::move(failureText)) {}

    // Milliseconds left, rounded up, 0 once passed: the time-out for one poll().
    int remainingMilliseconds() const {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
        return left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }

    [[noreturn]] void fail() const { throw TransportError(failureText_); }

private:
    std::chrono::steady_clock::time_point end_;
    std::string failureText_;
};

}  // namespace karvel::browser::api
