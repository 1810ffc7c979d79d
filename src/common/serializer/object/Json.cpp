#include "common/serializer/object/Json.h"

#include <string>

namespace karvel::common::serializer::object {

namespace {

// Deeper texts are refused: reading them is fine, but writing or copying such a value recurses
// once per level and would overflow the stack. No record of this system comes near it.
constexpr int kMaxDepth = 512;

bool refuseDeepNesting(int depth, JsonValue::parse_event_t event, JsonValue&) {
    const bool opens = event == JsonValue::parse_event_t::object_start ||
                       event == JsonValue::parse_event_t::array_start;
    if (opens && depth >= kMaxDepth) {
        throw JsonValue::parse_error::create(
            101, 0, "nesting deeper than " + std::to_string(kMaxDepth) + " levels", nullptr);
    }
    return true;
}

}  // namespace

JsonValue Json::decode(const std::string& text) const {
    return JsonValue::parse(text, refuseDeepNesting);
}

std::string Json::encode(const JsonValue& value) const {
    // No indentation gives the compact form. The writer already escapes control characters as
    // \u00XX where JSON has no two-character escape; invalid UTF-8 is replaced rather than
    // thrown, so encoding never fails.
    constexpr int kCompact = -1;
    constexpr bool kKeepNonAscii = false;
    return value.dump(kCompact, ' ', kKeepNonAscii,
                      nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace karvel::common::serializer::object
