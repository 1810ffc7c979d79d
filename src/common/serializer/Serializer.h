#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace karvel::common::serializer {

// A two-way text form of values. Json implements the interface of the same name in the
// `object` package, not this one; this one is kept for serializers of other kinds.
class Serializer {
public:
    virtual ~Serializer() = default;

    virtual nlohmann::ordered_json decode(const std::string& text) const = 0;
    virtual std::string encode(const nlohmann::ordered_json& value) const = 0;
};

}  // namespace karvel::common::serializer
