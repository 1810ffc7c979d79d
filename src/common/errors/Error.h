#pragma once

#include <exception>
#include <string>
#include <vector>

namespace karvel::common::errors {

// A failure the system reports: a type code ("UPPER_CASE_WORDS"), a message for the user and
// the flat list of errors that led to it. Handlers tell records apart by class, never by type.
class Error : public std::exception {
public:
    Error(std::string type, std::string message);

    // Records cause, then cause's own causes, and empties cause's list: a chain ends up flat.
    void causedBy(Error& cause);
    // One line per error, this one first: "TYPE: message\n".
    std::string toString() const;

    const char* what() const noexcept override { return message.c_str(); }

    std::string type;
    std::string message;
    std::vector<Error> causes;
};

}  // namespace karvel::common::errors
