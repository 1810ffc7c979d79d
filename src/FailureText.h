#pragma once

#include <exception>
#include <string>

namespace karvel {

// The text by which a caught failure is reported on standard output: the message of an error
// record or a failed request, what() of a standard exception, a thrown text as it is, and a
// fixed text for anything else.
std::string failureText(const std::exception_ptr& failure);

}  // namespace karvel
