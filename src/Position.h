#pragma once

#include <cstdint>
#include <string>

namespace karvel {

// Content of a square, and also the number of a team: 0 empty, 1 team "O", 2 team "X".
using Piece = std::int32_t;

// The opposing team: 1 for 2, and 2 for every other code (0 included).
constexpr std::int32_t opposingTeamOf(std::int32_t team) {
    return team == 2 ? 1 : 2;
}

// A plain {x, y} record, the form in which a square travels in service messages.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// A square: x is the column (0..7, shown "1".."8"), y the row (0..3, shown "A".."D").
struct Position {
    std::int32_t x = 0;
    std::int32_t y = 0;

    // Construction and copies
    static Position _new(std::int32_t x, std::int32_t y) { return Position{x, y}; }
    static Position fromPoint(const Point& point) { return Position{point.x, point.y}; }
    static Point toPoint(const Position& p) { return Point{p.x, p.y}; }
    static Position clone(const Position& p) { return p; }

    // Arithmetic and comparison
    static Position add(const Position& a, const Position& b) {
        return Position{a.x + b.x, a.y + b.y};
    }
    static bool equals(const Position& a, const Position& b) { return a.x == b.x && a.y == b.y; }
    // "{x: 3, y: 1}"; distinct squares always give distinct texts.
    static std::string toString(const Position& p);

    // Field access
    static std::int32_t get_x(const Position& p) { return p.x; }
    static std::int32_t get_y(const Position& p) { return p.y; }
    static std::int32_t set_x(Position& p, std::int32_t value) { return p.x = value; }
    static std::int32_t set_y(Position& p, std::int32_t value) { return p.y = value; }

    friend bool operator==(const Position&, const Position&) = default;
};

// One jump: the square of the moving piece and its landing square.
struct Move {
    Position from;
    Position to;

    friend bool operator==(const Move&, const Move&) = default;
};

}  // namespace karvel
