#pragma once

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 8
#endif
#include <pcre2.h>

#include <memory>
#include <string>

namespace karvel::common::uuid {

// Version-4 identifiers in their usual 36-character text form.
class Uuid {
public:
    using CompiledPattern = std::unique_ptr<pcre2_code, decltype(&pcre2_code_free)>;

    // Groups of 8, 4, 4, 4 and 12 of [a-z0-9]; case-sensitive and not anchored.
    static const CompiledPattern REGEX_V4;

    // True when the text contains such an identifier anywhere.
    static bool isV4(const std::string& text);
    // A new random identifier, with the version and variant bits set.
    static std::string v4();
};

}  // namespace karvel::common::uuid
