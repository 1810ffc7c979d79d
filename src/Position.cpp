#include "Position.h"

namespace karvel {

std::string Position::toString(const Position& p) {
    return "{x: " + std::to_string(p.x) + ", y: " + std::to_string(p.y) + "}";
}

}  // namespace karvel
