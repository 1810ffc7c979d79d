// Feeds arbitrary bytes to the reply parser as if they came from a server. The first byte
// sets how many bytes each read hands over, so replies are also split at odd places.
#include <cstddef>
#include <cstdint>
#include <string>

#include "browser/api/ResponseParser.h"
#include "browser/api/TransportError.h"
#include "support/MemorySource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t pieceSize = data[0] % 16 == 0 ? std::string::npos : data[0] % 16;
    karvel::browser::api::testing::MemorySource source(
        std::string(reinterpret_cast<const char*>(data) + 1, size - 1), pieceSize);
    // Small limits let the fuzzer reach the bounds with small inputs.
    const karvel::browser::api::ResponseLimits limits{.maxHeaderBytes = 512, .maxBodyBytes = 1024};
    try {
        const auto reply = karvel::browser::api::readResponse(
            source, [](int) {}, limits);
        if (reply.body.size() > limits.maxBodyBytes) {
            __builtin_trap();
        }
    } catch (const karvel::browser::api::TransportError&) {
        // A refused reply is a normal outcome.
    }
    return 0;
}
