// Parses arbitrary text as a request URL and checks what any accepted URL guarantees.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "browser/api/Url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto url =
        karvel::browser::api::parseUrl(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!url) {
        return 0;
    }
    const bool pathHasBreak = url->path.find_first_of("\r\n") != std::string_view::npos;
    if (url->host.empty() || url->port == 0 || !url->path.starts_with('/') || pathHasBreak) {
        __builtin_trap();
    }
    return 0;
}
