#pragma once

#include <stdexcept>

namespace karvel {

// The user's input has ended for good (the terminal hung up). Not an Error record: the play
// loop ends the program on it rather than showing it.
class EndOfInput : public std::runtime_error {
public:
    EndOfInput() : std::runtime_error("end of input") {}
};

}  // namespace karvel
