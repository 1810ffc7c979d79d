#pragma once

#include <functional>
#include <ostream>

namespace karvel {

// The process services the controller uses: sleeping, ending the process and standard output.
// Tests pass fakes so that they neither wait nor end the test process.
struct ProcessHooks {
    std::function<void(int seconds)> sleep;
    std::function<void(int status)> exit;
    std::ostream* out;

    // Sleeps whole seconds, ends the process with std::exit, writes to std::cout.
    static ProcessHooks real();
};

}  // namespace karvel
