#include "Ids.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace karvel::service::server {
namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";

std::string toHex(const unsigned char* bytes, std::size_t size) {
    std::string text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text.push_back(kHexDigits[bytes[i] >> 4U]);
        text.push_back(kHexDigits[bytes[i] & 0x0fU]);
    }
    return text;
}

bool isLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

void secureRandomBytes(unsigned char* out, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = getrandom(out + filled, size - filled, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
        filled += static_cast<std::size_t>(got);
    }
}

std::string newGameId() {
    std::array<unsigned char, 16> bytes{};
    secureRandomBytes(bytes.data(), bytes.size());
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0fU) | 0x40U);  // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3fU) | 0x80U);  // RFC 4122 variant
    const std::string hex = toHex(bytes.data(), bytes.size());
    return hex.substr(0, 8) + '-' + hex.substr(8, 4) + '-' + hex.substr(12, 4) + '-' +
           hex.substr(16, 4) + '-' + hex.substr(20);
}

std::string newPlayerId() {
    std::array<unsigned char, 16> bytes{};
    secureRandomBytes(bytes.data(), bytes.size());
    return toHex(bytes.data(), bytes.size());
}

bool isGameId(std::string_view text) {
    if (text.size() != 36) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dashPlace = i == 8 || i == 13 || i == 18 || i == 23;
        if (dashPlace ? text[i] != '-' : !isLowerHex(text[i])) {
            return false;
        }
    }
    const char variant = text[19];
    return text[14] == '4' &&
           (variant == '8' || variant == '9' || variant == 'a' || variant == 'b');
}

bool isPlayerId(std::string_view text) {
    if (text.size() != 32) {
        return false;
    }
    for (const char c : text) {
        if (!isLowerHex(c)) {
            return false;
        }
    }
    return true;
}

bool sameSecret(std::string_view a, std::string_view b) {
    // The length of a secret is public (always 32); only its content must not leak.
    if (a.size() != b.size()) {
        return false;
    }
    unsigned difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        difference |= static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(b[i]);
    }
    // Keep the compiler from turning the loop into an early-exit comparison.
    volatile unsigned result = difference;
    return result == 0;
}

}  // namespace karvel::service::server
