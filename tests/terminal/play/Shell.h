#pragma once

#include <string>

namespace karvel::terminal::play {

// Quotes a word for sh.
std::string shellQuote(const std::string& word);
// Runs a sh command; returns its standard output. Throws when it exits with a failure.
std::string runCommand(const std::string& command);

}  // namespace karvel::terminal::play
