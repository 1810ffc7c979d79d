#pragma once

#include "common/errors/Error.h"

namespace karvel::error {

class EndGameInterrupt : public common::errors::Error {
public:
    static constexpr const char* TYPE = "END_GAME_INTERRUPT";

    EndGameInterrupt() : Error(TYPE, "") {}
};

}  // namespace karvel::error
