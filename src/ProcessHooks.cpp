#include "ProcessHooks.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace karvel {

ProcessHooks ProcessHooks::real() {
    return ProcessHooks{
        [](int seconds) { std::this_thread::sleep_for(std::chrono::seconds(seconds)); },
        [](int status) { std::exit(status); },
        &std::cout,
    };
}

}  // namespace karvel
