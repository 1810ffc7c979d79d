#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "common/serializer/object/Serializer.h"

namespace karvel::common::serializer::object {

// A JSON value whose records keep their field order.
using JsonValue = nlohmann::ordered_json;

// The JSON text form used on the wire to the game service.
class Json : public Serializer {
public:
    // Throws the JSON reader's parse error (nlohmann::json::parse_error) on malformed text and
    // on nesting deeper than 512 levels.
    JsonValue decode(const std::string& text) const override;
    // Compact JSON, fields in record order. Always valid JSON, even for texts that hold control
    // characters or bytes that are not UTF-8.
    std::string encode(const JsonValue& value) const override;
};

}  // namespace karvel::common::serializer::object
