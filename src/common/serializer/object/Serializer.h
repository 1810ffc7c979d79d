#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace karvel::common::serializer::object {

// Turns values made of records, lists, texts, numbers and booleans into text and back. Records
// keep the order in which their fields were set.
class Serializer {
public:
    virtual ~Serializer() = default;

    virtual nlohmann::ordered_json decode(const std::string& text) const = 0;
    virtual std::string encode(const nlohmann::ordered_json& value) const = 0;
};

}  // namespace karvel::common::serializer::object
