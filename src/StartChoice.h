#pragma once

#include <string>

namespace karvel {

// How play begins; the indices are fixed.
enum class StartChoice { AI = 0, CREATE = 1, JOIN = 2, RESUME = 3 };

// "StartChoice.AI" and so on.
std::string toString(StartChoice choice);

}  // namespace karvel
