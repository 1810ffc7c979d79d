#include "common/serializer/object/Json.h"

namespace karvel::common::serializer::object {

JsonValue Json::decode(const std::string& text) const {
    return JsonValue::parse(text);
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
