#pragma once

#include "common/errors/Error.h"

namespace karvel::error {

class GameManagerError : public common::errors::Error {
public:
    static constexpr const char* TYPE = "KARVEL_GAME_MANAGER_ERROR";

    GameManagerError() : Error(TYPE, "Service not available") {}
};

}  // namespace karvel::error
