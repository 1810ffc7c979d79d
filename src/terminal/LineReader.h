#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace karvel::terminal {

// The longest line `read` keeps.
inline constexpr std::size_t LINE_CAPACITY = 80;

// Builds one typed line from keys: the first key comes from `firstKey`, every later one from
// `nextKey`. Keys are kept as their low 8 bits, with no editing, until a key whose low 8 bits are
// a newline or until LINE_CAPACITY characters are kept; then one more key is read and dropped,
// whatever it is. The line ends at its first zero byte, as a C string would.
std::string readLine(const std::function<int()>& firstKey, const std::function<int()>& nextKey);

}  // namespace karvel::terminal
