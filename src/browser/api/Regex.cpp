#include "browser/api/Regex.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace karvel::browser::api {

Regex::Regex(std::string_view pattern) {
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    code_.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), 0,
                              &errorCode, &errorOffset, nullptr));
    if (!code_) {
        throw std::invalid_argument("Bad pattern at offset " + std::to_string(errorOffset) + ": " +
                                    std::string(pattern));
    }
}

std::optional<std::vector<std::string_view>> Regex::match(std::string_view subject) const {
    std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)> data(
        pcre2_match_data_create_from_pattern(code_.get(), nullptr), &pcre2_match_data_free);
    if (!data) {
        throw std::bad_alloc();
    }
    const int count = pcre2_match(code_.get(), reinterpret_cast<PCRE2_SPTR>(subject.data()),
                                  subject.size(), 0, 0, data.get(), nullptr);
    if (count <= 0) {
        return std::nullopt;
    }
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data.get());
    // Groups after the last one that matched are unset too, so every group has an entry.
    const std::uint32_t groupCount = pcre2_get_ovector_count(data.get());
    std::vector<std::string_view> groups;
    for (std::uint32_t i = 0; i < groupCount; ++i) {
        const PCRE2_SIZE start = offsets[std::size_t{2} * i];
        const PCRE2_SIZE end = offsets[(std::size_t{2} * i) + 1];
        groups.push_back(start == PCRE2_UNSET ? std::string_view()
                                              : subject.substr(start, end - start));
    }
    return groups;
}

}  // namespace karvel::browser::api
