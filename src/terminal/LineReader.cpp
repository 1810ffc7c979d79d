#include "terminal/LineReader.h"

#include <array>

#include "terminal/Keys.h"

namespace karvel::terminal {

std::string readLine(const std::function<int()>& firstKey, const std::function<int()>& nextKey) {
    std::array<char, LINE_CAPACITY + 1> input{};
    std::size_t count = 0;
    int key = firstKey();
    while ((key & 0xFF) != KEY_CODE_ENTER && count < LINE_CAPACITY) {
        input[count] = static_cast<char>(key & 0xFF);
        ++count;
        key = nextKey();
    }
    input[count] = '\0';
    return std::string(input.data());
}

}  // namespace karvel::terminal
