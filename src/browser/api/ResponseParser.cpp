#include "browser/api/ResponseParser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "browser/api/BufferedReader.h"
#include "browser/api/Regex.h"
#include "browser/api/TransportError.h"

namespace karvel::browser::api {

namespace {

// A chunk size line is short; anything longer is not one.
constexpr std::size_t kMaxChunkLine = 256;
// Eight hex digits already exceed any body the client accepts; more are refused outright so
// that the size can never overflow.
constexpr std::size_t kMaxChunkDigits = 8;

const Regex& chunkSizePattern() {
    static const Regex pattern("^([0-9A-Fa-f]+)[ ]*\r\n");
    return pattern;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

[[noreturn]] void throwBodyTooLarge() {
    throw TransportError("Response body too large");
}

// How the body is delimited, as the headers say.
struct Framing {
    std::optional<std::uint64_t> contentLength;
    bool chunked = false;
};

class ReplyReader {
public:
    ReplyReader(ByteSource& source, const ResponseLimits& limits)
        : reader_(source), limits_(limits), headerBytesLeft_(limits.maxHeaderBytes) {}

    // The status is the second blank-separated word of the status line.
    int readStatus() {
        const std::string line = readHeaderLine();
        const std::string_view text = line;
        const auto start = text.find_first_not_of(' ', text.find(' '));
        if (!text.starts_with("HTTP/") || start == std::string_view::npos) {
            throw TransportError("Response status error");
        }
        const std::string_view word = text.substr(start, text.find(' ', start) - start);
        int status = 0;
        if (!allDigits(word) || word.size() > 3) {
            throw TransportError("Response status error");
        }
        std::from_chars(word.data(), word.data() + word.size(), status);
        if (status == 0) {
            throw TransportError("Response status error");
        }
        return status;
    }

    Framing readHeaders() {
        Framing framing;
        for (std::string line = readHeaderLine(); !line.empty(); line = readHeaderLine()) {
            const auto colon = line.find(':');
            const std::string_view name = std::string_view(line).substr(0, colon);
            if (colon == std::string::npos || name.empty() ||
                name.find_first_of(" \t") != std::string_view::npos) {
                throw TransportError("Invalid header");
            }
            const std::string_view value = trimBlanks(std::string_view(line).substr(colon + 1));
            if (equalsIgnoringCase(name, "content-length")) {
                noteContentLength(value, framing);
            } else if (equalsIgnoringCase(name, "transfer-encoding")) {
                framing.chunked = framing.chunked || equalsIgnoringCase(value, "chunked");
            }
        }
        return framing;
    }

    std::string readBody(const Framing& framing) {
        std::string body;
        if (framing.chunked) {
            readChunks(body);
        } else if (framing.contentLength) {
            reader_.readExact(*framing.contentLength, body);
        } else if (!reader_.readToClose(limits_.maxBodyBytes, body)) {
            throwBodyTooLarge();
        }
        return body;
    }

private:
    // One line of the status line, headers or trailers, without its line ending; every byte
    // counts against the header limit.
    std::string readHeaderLine() {
        std::optional<std::string> line = reader_.readLine(headerBytesLeft_);
        if (!line) {
            throw TransportError("Response headers too large");
        }
        headerBytesLeft_ -= line->size() + 1;
        if (line->find('\0') != std::string::npos) {
            throw TransportError("Invalid header");
        }
        if (!line->empty() && line->back() == '\r') {
            line->pop_back();
        }
        return std::move(*line);
    }

    void noteContentLength(std::string_view value, Framing& framing) const {
        std::uint64_t length = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), length);
        if (!allDigits(value) || error != std::errc() || end != value.data() + value.size() ||
            (framing.contentLength && *framing.contentLength != length)) {
            throw TransportError("Invalid content-length");
        }
        if (length > limits_.maxBodyBytes) {
            throwBodyTooLarge();
        }
        framing.contentLength = length;
    }

    void readChunks(std::string& body) {
        for (std::uint64_t size = readChunkSize(); size > 0; size = readChunkSize()) {
            if (size > limits_.maxBodyBytes - body.size()) {
                throwBodyTooLarge();
            }
            reader_.readExact(size, body);
            std::string ending;
            reader_.readExact(2, ending);
            if (ending != "\r\n") {
                throw TransportError("Invalid chunk");
            }
        }
        // Trailers are read and dropped; a close right after the last chunk still leaves a
        // whole body.
        if (reader_.atEnd()) {
            return;
        }
        while (!readHeaderLine().empty()) {
        }
    }

    std::uint64_t readChunkSize() {
        std::optional<std::string> line = reader_.readLine(kMaxChunkLine);
        if (!line) {
            throw TransportError("Invalid chunk");
        }
        line->push_back('\n');
        const auto groups = chunkSizePattern().match(*line);
        if (!groups || (*groups)[1].size() > kMaxChunkDigits) {
            throw TransportError("Invalid chunk");
        }
        const std::string_view digits = (*groups)[1];
        std::uint64_t size = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), size, 16);
        return size;
    }

    BufferedReader reader_;
    const ResponseLimits& limits_;
    std::size_t headerBytesLeft_;
};

bool hasNoBody(int status) {
    return status < 200 || status == 204 || status == 304;
}

}  // namespace

HttpReply readResponse(ByteSource& source, const std::function<void(int status)>& onStatus,
                       const ResponseLimits& limits) {
    ReplyReader reader(source, limits);
    HttpReply reply;
    reply.status = reader.readStatus();
    const Framing framing = reader.readHeaders();
    onStatus(reply.status);
    if (!hasNoBody(reply.status)) {
        reply.body = reader.readBody(framing);
    }
    return reply;
}

}  // namespace karvel::browser::api
