#pragma once

#include <functional>

#include "ProcessHooks.h"

namespace karvel {

// Runs the program. A failure that escapes it is written as "Error : " and its text on
// hooks.out, and the process ends with status 255.
void runMain(const std::function<void()>& program,
             const ProcessHooks& hooks = ProcessHooks::real());

}  // namespace karvel
