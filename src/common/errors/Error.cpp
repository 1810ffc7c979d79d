#include "common/errors/Error.h"

#include <utility>

namespace karvel::common::errors {

Error::Error(std::string type, std::string message)
    : type(std::move(type)), message(std::move(message)) {}

void Error::causedBy(Error& cause) {
    std::vector<Error> inherited = std::move(cause.causes);
    cause.causes.clear();
    causes.push_back(cause);
    for (Error& inner : inherited) {
        causes.push_back(std::move(inner));
    }
}

std::string Error::toString() const {
    std::string text = type + ": " + message + "\n";
    for (const Error& cause : causes) {
        text += cause.type + ": " + cause.message + "\n";
    }
    return text;
}

}  // namespace karvel::common::errors
