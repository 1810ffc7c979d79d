#include "server/GameRecord.h"

#include <cmath>
#include <limits>
#include <utility>

namespace karvel::server {

namespace {

using common::serializer::object::JsonValue;

constexpr auto kLowest = std::numeric_limits<std::int32_t>::min();
constexpr auto kHighest = std::numeric_limits<std::int32_t>::max();

const JsonValue* member(const JsonValue& record, const std::string& name) {
    if (!record.is_object()) {
        return nullptr;
    }
    const auto found = record.find(name);
    return found == record.end() ? nullptr : &*found;
}

// Truncation towards zero, held within the 32-bit range; only called on numbers.
std::int32_t truncated(const JsonValue& number) {
    if (number.is_number_unsigned()) {
        const auto value = number.get<std::uint64_t>();
        return value > static_cast<std::uint64_t>(kHighest) ? kHighest
                                                            : static_cast<std::int32_t>(value);
    }
    if (number.is_number_integer()) {
        const auto value = number.get<std::int64_t>();
        if (value < kLowest) {
            return kLowest;
        }
        return value > kHighest ? kHighest : static_cast<std::int32_t>(value);
    }
    const double value = std::trunc(number.get<double>());
    if (std::isnan(value)) {
        return 0;
    }
    if (value < kLowest) {
        return kLowest;
    }
    return value > kHighest ? kHighest : static_cast<std::int32_t>(value);
}

std::optional<Position> positionOf(const JsonValue* record) {
    if (record == nullptr) {
        return std::nullopt;
    }
    const JsonValue* x = member(*record, "x");
    const JsonValue* y = member(*record, "y");
    if (x == nullptr || y == nullptr || !x->is_number() || !y->is_number()) {
        return std::nullopt;
    }
    return Position::_new(truncated(*x), truncated(*y));
}

}  // namespace

GameRecord::GameRecord(JsonValue value) : value_(std::move(value)) {}

bool GameRecord::numberEquals(const std::string& name, std::int32_t number) const {
    const JsonValue* field = member(value_, name);
    if (field == nullptr || !field->is_number()) {
        return false;
    }
    if (field->is_number_float()) {
        return field->get<double>() == static_cast<double>(number);
    }
    if (field->is_number_unsigned()) {
        return number >= 0 && field->get<std::uint64_t>() == static_cast<std::uint64_t>(number);
    }
    return field->get<std::int64_t>() == number;
}

std::int32_t GameRecord::integer(const std::string& name) const {
    const JsonValue* field = member(value_, name);
    return field != nullptr && field->is_number() ? truncated(*field) : 0;
}

std::string GameRecord::text(const std::string& name) const {
    const JsonValue* field = member(value_, name);
    return field != nullptr && field->is_string() ? field->get<std::string>() : std::string();
}

bool GameRecord::flag(const std::string& name) const {
    const JsonValue* field = member(value_, name);
    return field != nullptr && field->is_boolean() && field->get<bool>();
}

std::optional<Move> GameRecord::move(const std::string& name) const {
    const JsonValue* field = member(value_, name);
    if (field == nullptr) {
        return std::nullopt;
    }
    const std::optional<Position> from = positionOf(member(*field, "from"));
    const std::optional<Position> to = positionOf(member(*field, "to"));
    if (!from || !to) {
        return std::nullopt;
    }
    return Move{*from, *to};
}

}  // namespace karvel::server
