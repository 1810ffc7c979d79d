#pragma once

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace karvel::browser::api {

// A PCRE2 pattern compiled once, matched many times. Thread-safe: each match has its own
// match data.
class Regex {
public:
    // Throws std::invalid_argument when the pattern does not compile (a programming error).
    explicit Regex(std::string_view pattern);

    // The captured groups (index 0 is the whole match) or nothing when the subject does not
    // match. A group that took no part in the match is an empty view.
    std::optional<std::vector<std::string_view>> match(std::string_view subject) const;

private:
    struct CodeFree {
        void operator()(pcre2_code* code) const { pcre2_code_free(code); }
    };
    std::unique_ptr<pcre2_code, CodeFree> code_;
};

}  // namespace karvel::browser::api
