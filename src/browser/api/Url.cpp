#include "browser/api/Url.h"

#include <algorithm>
#include <charconv>

#include "browser/api/Regex.h"

namespace karvel::browser::api {

namespace {

const Regex& urlPattern() {
    static const Regex pattern(R"(^(https?://)?([a-zA-Z\.0-9_-]+)(:[0-9]+)?(.*)$)");
    return pattern;
}

bool isSafeInPath(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte != 0x7f;
}

std::optional<std::uint16_t> parsePort(std::string_view digits) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value == 0 ||
        value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<Url> parseUrl(std::string_view text) {
    // Checked before the pattern: "$" also matches before a final line feed, and "." takes a
    // carriage return, so the pattern alone lets line breaks into the request line.
    if (!std::all_of(text.begin(), text.end(), isSafeInPath)) {
        return std::nullopt;
    }
    const auto groups = urlPattern().match(text);
    if (!groups) {
        return std::nullopt;
    }
    Url url;
    url.tls = (*groups)[1] == "https://";
    url.host = std::string((*groups)[2]);
    const std::string_view port = (*groups)[3];
    if (port.empty()) {
        url.port = url.tls ? 443 : 80;
    } else {
        const auto number = parsePort(port.substr(1));
        if (!number) {
            return std::nullopt;
        }
        url.port = *number;
    }
    const std::string_view path = (*groups)[4];
    if (!path.starts_with('/')) {
        url.path.push_back('/');
    }
    url.path.append(path);
    return url;
}

}  // namespace karvel::browser::api
