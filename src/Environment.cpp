#include "Environment.h"

namespace karvel {

// KARVEL_API_URL comes from the build configuration.
const std::string Environment::API_URL = KARVEL_API_URL;

}  // namespace karvel
