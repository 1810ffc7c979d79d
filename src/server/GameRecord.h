#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "Position.h"
#include "common/serializer/object/Json.h"

namespace karvel::server {

// The decoded reply of the game service. Reads never fail: a field that is absent or of the
// wrong JSON type gives the neutral value named at each reader, so a malformed reply cannot
// crash the client.
class GameRecord {
public:
    explicit GameRecord(common::serializer::object::JsonValue value);

    // Numbers
    // Compares numeric values; an absent or non-numeric field equals no number.
    bool numberEquals(const std::string& name, std::int32_t number) const;
    // The number truncated towards zero (and held within 32 bits); 0 when absent or not a number.
    std::int32_t integer(const std::string& name) const;

    // Other fields
    std::string text(const std::string& name) const;  // "" when absent or not a string
    bool flag(const std::string& name) const;         // true only for the JSON value true
    // A record {from: {x, y}, to: {x, y}} with numeric coordinates; none otherwise.
    std::optional<Move> move(const std::string& name) const;

    const common::serializer::object::JsonValue& value() const { return value_; }

private:
    common::serializer::object::JsonValue value_;
};

// The callback of every game operation: exactly one of the two is given. `game` is a reply the
// service accepted; `error` is a refusal, read for its `message`.
using GameCallback = std::function<void(const GameRecord* game, const GameRecord* error)>;

}  // namespace karvel::server
