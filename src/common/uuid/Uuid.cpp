#include "common/uuid/Uuid.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <random>
#include <stdexcept>

namespace karvel::common::uuid {

namespace {

Uuid::CompiledPattern compilePattern() {
    static constexpr char kPattern[] =
        "[a-z0-9]{8}-[a-z0-9]{4}-[a-z0-9]{4}-[a-z0-9]{4}-[a-z0-9]{12}";
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kPattern), PCRE2_ZERO_TERMINATED,
                                     0, &errorCode, &errorOffset, nullptr);
    if (code == nullptr) {
        throw std::logic_error("the identifier pattern does not compile");
    }
    return {code, &pcre2_code_free};
}

// The general-purpose generator that seeds each identifier's byte source.
std::mt19937& platformGenerator() {
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

// Random bytes: the RC4 key stream, keyed by a pool of generator output mixed with the clock.
class RandomBytes {
public:
    RandomBytes() {
        std::array<std::uint8_t, 256> pool{};
        std::uniform_int_distribution<int> draw(0, 65535);
        for (std::size_t i = 0; i < pool.size(); i += 2) {
            const int r = draw(platformGenerator());
            pool[i] = static_cast<std::uint8_t>(r >> 8);
            pool[i + 1] = static_cast<std::uint8_t>(r & 255);
        }
        const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        const auto t = static_cast<std::uint32_t>(now.count());
        for (std::size_t i = 0; i < 4; ++i) {
            pool[i] ^= static_cast<std::uint8_t>((t >> (8 * i)) & 255);
        }
        schedule(pool);
    }

    std::uint8_t next() {
        i_ = static_cast<std::uint8_t>(i_ + 1);
        j_ = static_cast<std::uint8_t>(j_ + state_[i_]);
        std::swap(state_[i_], state_[j_]);
        return state_[static_cast<std::uint8_t>(state_[i_] + state_[j_])];
    }

private:
    // The RC4 key schedule, with the whole pool as the key.
    void schedule(const std::array<std::uint8_t, 256>& key) {
        for (std::size_t k = 0; k < state_.size(); ++k) {
            state_[k] = static_cast<std::uint8_t>(k);
        }
        std::uint8_t j = 0;
        for (std::size_t k = 0; k < state_.size(); ++k) {
            j = static_cast<std::uint8_t>(j + state_[k] + key[k]);
            std::swap(state_[k], state_[j]);
        }
    }

    std::array<std::uint8_t, 256> state_{};
    std::uint8_t i_ = 0;
    std::uint8_t j_ = 0;
};

}  // namespace

const Uuid::CompiledPattern Uuid::REGEX_V4 = compilePattern();

bool Uuid::isV4(const std::string& text) {
    const std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)> match(
        pcre2_match_data_create_from_pattern(REGEX_V4.get(), nullptr), &pcre2_match_data_free);
    if (!match) {
        throw std::bad_alloc();
    }
    const int found = pcre2_match(REGEX_V4.get(), reinterpret_cast<PCRE2_SPTR>(text.data()),
                                  text.size(), 0, 0, match.get(), nullptr);
    return found >= 0;
}

std::string Uuid::v4() {
    RandomBytes source;
    std::array<std::uint8_t, 16> bytes{};
    for (std::uint8_t& byte : bytes) {
        byte = source.next();
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);

    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(36);
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        if (k == 4 || k == 6 || k == 8 || k == 10) {
            text += '-';
        }
        text += kHex[bytes[k] >> 4];
        text += kHex[bytes[k] & 0x0F];
    }
    return text;
}

}  // namespace karvel::common::uuid
