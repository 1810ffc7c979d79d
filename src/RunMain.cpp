#include "RunMain.h"

#include <exception>
#include <ostream>

#include "FailureText.h"

namespace karvel {

void runMain(const std::function<void()>& program, const ProcessHooks& hooks) {
    try {
        program();
    } catch (...) {
        *hooks.out << "Error : " << failureText(std::current_exception()) << "\n" << std::flush;
        hooks.exit(255);
    }
}

}  // namespace karvel
