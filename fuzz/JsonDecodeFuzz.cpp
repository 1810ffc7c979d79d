// Decodes arbitrary text as JSON, as the service client does with every reply body.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/serializer/object/Json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const karvel::common::serializer::object::Json json;
    try {
        const auto value = json.decode(std::string(reinterpret_cast<const char*>(data), size));
        // What decodes must encode again and decode to the same value.
        if (json.decode(json.encode(value)) != value) {
            __builtin_trap();
        }
    } catch (const nlohmann::json::exception&) {
        // Malformed text is refused with the reader's parse error: a normal outcome.
    }
    return 0;
}
