#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/api/ResponseParser.h"
#include "browser/api/TransportError.h"
#include "support/MemorySource.h"

namespace karvel::browser::api {
namespace {

using testing::EndlessSource;
using testing::MemorySource;

using namespace std::string_literals;

// The limits the client is built with.
constexpr std::size_t kHeaderLimit = std::size_t{64} * 1024;
constexpr std::size_t kBodyLimit = std::size_t{16} * 1024 * 1024;

const std::string kTruncated = "Connection closed before the end of the reply";
const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

struct ReplyCase {
    const char* name;
    std::string reply;
    int status;                 // expected status when the reply is good
    std::string bodyOrFailure;  // the body, or the failure text when status is 0
};

// Reads the reply whole, a byte at a time, and in pieces of three, which between them split
// it at every point.
class ResponseParserTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ResponseParserTest, GivesTheSameOutcomeHoweverTheBytesArrive) {
    const ReplyCase& c = GetParam();
    for (const std::size_t piece : {std::string::npos, std::size_t{1}, std::size_t{3}}) {
        SCOPED_TRACE("piece size " + std::to_string(piece));
        MemorySource source(c.reply, piece);
        std::vector<int> statuses;
        try {
            const HttpReply reply =
                readResponse(source, [&](int status) { statuses.push_back(status); });
            EXPECT_EQ(c.status, reply.status);
            EXPECT_EQ(c.bodyOrFailure, reply.body);
            EXPECT_EQ(std::vector<int>{reply.status}, statuses);
        } catch (const TransportError& error) {
            EXPECT_EQ(0, c.status) << "failed with: " << error.what();
            EXPECT_EQ(c.bodyOrFailure, error.what());
        }
    }
}

const ReplyCase kGoodReplies[] = {
    {"ContentLength", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", 200, "hello"},
    {"ContentLengthStopsEarly", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhello", 200, "he"},
    {"HeaderNamesIgnoreCase", "HTTP/1.1 200 OK\r\ncOnTeNt-LeNgTh: 3\r\n\r\nabcdef", 200, "abc"},
    {"RepeatedEqualLength", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\ncontent-length: 2\r\n\r\nok",
     200, "ok"},
    {"EmptyBody", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 200, ""},
    {"ReadToClose", "HTTP/1.1 200 OK\r\nServer: x\r\n\r\nuntil\r\nclose", 200, "until\r\nclose"},
    {"NoReasonPhrase", "HTTP/1.0 201\r\n\r\n", 201, ""},
    {"SeveralBlanks", "HTTP/1.1   302   Found\r\n\r\nmoved", 302, "moved"},
    {"ErrorStatusKeepsBody", "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnope", 404,
     "nope"},
    {"BareLineFeeds", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", 200, "ok"},
    {"NulAndHighBytesInBody", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\na\0b\xc3\xa9"s, 200,
     "a\0b\xc3\xa9"s},
    {"NoContentHasNoBody", "HTTP/1.1 204 No Content\r\n\r\nignored", 204, ""},
    {"NotModifiedHasNoBody", "HTTP/1.1 304 Not Modified\r\nContent-Length: 9\r\n\r\n", 304, ""},
    {"InformationalHasNoBody", "HTTP/1.1 101 Switching\r\nUpgrade: x\r\n\r\nmore", 101, ""},
    {"Chunked", kChunkedHead + "5\r\nhello\r\n6  \r\n world\r\n0\r\n\r\n", 200, "hello world"},
    {"ChunkedIgnoresCaseAndLength",
     "HTTP/1.1 200 OK\r\nContent-Length: 99\r\ntransfer-encoding: ChUnKeD\r\n\r\n"
     "a\r\n0123456789\r\nA\r\nabcdefghij\r\n0\r\n\r\n",
     200, "0123456789abcdefghij"},
    {"ChunkedTrailers", kChunkedHead + "2\r\nok\r\n0\r\nX-Sum: 1\r\nX-More: 2\r\n\r\n", 200, "ok"},
    {"ChunkedClosedAfterLastChunk", kChunkedHead + "2\r\nok\r\n0\r\n", 200, "ok"},
    {"OtherTransferEncodingReadsToClose",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n2\r\nok", 200, "2\r\nok"},
};
INSTANTIATE_TEST_SUITE_P(Good, ResponseParserTest, ::testing::ValuesIn(kGoodReplies),
                         [](const auto& info) { return std::string(info.param.name); });

const ReplyCase kBadReplies[] = {
    {"ClosedAtOnce", "", 0, kTruncated},
    {"ClosedInStatusLine", "HTTP/1.1 20", 0, kTruncated},
    {"ClosedInHeaders", "HTTP/1.1 200 OK\r\nContent-Le", 0, kTruncated},
    {"ClosedBeforePromisedLength", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort", 0,
     kTruncated},
    {"ClosedInsideChunk", kChunkedHead + "a\r\nshort", 0, kTruncated},
    {"ClosedBeforeLastChunk", kChunkedHead + "2\r\nok\r\n", 0, kTruncated},
    {"ClosedInTrailers", kChunkedHead + "0\r\nX-Sum: 1\r\n", 0, kTruncated},
    {"GarbageStatusLine", "garbage\r\n\r\n", 0, "Response status error"},
    {"NoStatusWord", "HTTP/1.1\r\n\r\n", 0, "Response status error"},
    {"OnlyBlanksAfterVersion", "HTTP/1.1   \r\n\r\n", 0, "Response status error"},
    {"StatusNotNumber", "HTTP/1.1 2x0 OK\r\n\r\n", 0, "Response status error"},
    {"StatusZero", "HTTP/1.1 000 OK\r\n\r\n", 0, "Response status error"},
    {"StatusSigned", "HTTP/1.1 -200 OK\r\n\r\n", 0, "Response status error"},
    {"StatusTooLong", "HTTP/1.1 2000 OK\r\n\r\n", 0, "Response status error"},
    {"NotHttp", "SMTP/1.1 200 OK\r\n\r\n", 0, "Response status error"},
    {"NulInStatusLine", "HTTP/1.1 200\0 OK\r\n\r\n"s, 0, "Invalid header"},
    {"NulInHeader", "HTTP/1.1 200 OK\r\nX-A: b\0c\r\n\r\n"s, 0, "Invalid header"},
    {"HeaderWithoutColon", "HTTP/1.1 200 OK\r\nno colon here\r\n\r\n", 0, "Invalid header"},
    {"HeaderNameWithBlank", "HTTP/1.1 200 OK\r\nBad Name: x\r\n\r\n", 0, "Invalid header"},
    {"FoldedHeader", "HTTP/1.1 200 OK\r\nX-A: b\r\n  folded\r\n\r\n", 0, "Invalid header"},
    {"NegativeLength", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", 0,
     "Invalid content-length"},
    {"SignedLength", "HTTP/1.1 200 OK\r\nContent-Length: +5\r\n\r\nhello", 0,
     "Invalid content-length"},
    {"EmptyLength", "HTTP/1.1 200 OK\r\nContent-Length:\r\n\r\n", 0, "Invalid content-length"},
    {"ListLength", "HTTP/1.1 200 OK\r\nContent-Length: 5, 5\r\n\r\nhello", 0,
     "Invalid content-length"},
    {"OverflowingLength", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", 0,
     "Invalid content-length"},
    {"ConflictingLengths", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nok", 0,
     "Invalid content-length"},
    {"LengthOverBodyLimit", "HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\n", 0,
     "Response body too large"},
    {"ChunkSizeNotHex", kChunkedHead + "zz\r\n", 0, "Invalid chunk"},
    {"ChunkSizeSigned", kChunkedHead + "-5\r\nhello\r\n0\r\n\r\n", 0, "Invalid chunk"},
    {"ChunkSizeEmpty", kChunkedHead + "\r\n", 0, "Invalid chunk"},
    {"ChunkExtension", kChunkedHead + "5;x=1\r\nhello\r\n0\r\n\r\n", 0, "Invalid chunk"},
    {"ChunkSizeBareLineFeed", kChunkedHead + "5\nhello\r\n0\r\n\r\n", 0, "Invalid chunk"},
    {"ChunkSizeTooManyDigits", kChunkedHead + "000000005\r\nhello\r\n0\r\n\r\n", 0,
     "Invalid chunk"},
    {"ChunkSizeOverflowing", kChunkedHead + "FFFFFFFFFFFFFFFFFFFFFFFF\r\n", 0, "Invalid chunk"},
    {"ChunkSizeLineEndless", kChunkedHead + std::string(300, ' '), 0, "Invalid chunk"},
    {"ChunkDataWithoutLineEnd", kChunkedHead + "2\r\nokXY0\r\n\r\n", 0, "Invalid chunk"},
    {"ChunkOverBodyLimit", kChunkedHead + "1000001\r\n", 0, "Response body too large"},
    {"OneHeaderTooLong",
     "HTTP/1.1 200 OK\r\nX-Long: " + std::string(kHeaderLimit, 'a') + "\r\n\r\n", 0,
     "Response headers too large"},
};
INSTANTIATE_TEST_SUITE_P(Bad, ResponseParserTest, ::testing::ValuesIn(kBadReplies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResponseParserLimits, ManyHeadersCountTogether) {
    std::string reply = "HTTP/1.1 200 OK\r\n";
    while (reply.size() <= kHeaderLimit) {
        reply += "X-Header: some value\r\n";
    }
    MemorySource source(reply + "\r\n");
    EXPECT_THROW(readResponse(source, [](int) {}), TransportError);
}

TEST(ResponseParserLimits, HeadersJustUnderTheLimitAreRead) {
    const std::string head = "HTTP/1.1 200 OK\r\nX-Fill: ";
    const std::string tail = "\r\nContent-Length: 2\r\n\r\n";
    MemorySource source(head + std::string(kHeaderLimit - head.size() - tail.size(), 'a') + tail +
                        "ok");
    EXPECT_EQ("ok", readResponse(source, [](int) {}).body);
}

TEST(ResponseParserLimits, EndlessHeaderIsCutOffAfterTheLimit) {
    EndlessSource source("HTTP/1.1 200 OK\r\nX-Endless: ");
    try {
        readResponse(source, [](int) {});
        FAIL() << "an endless header was accepted";
    } catch (const TransportError& error) {
        EXPECT_STREQ("Response headers too large", error.what());
    }
    EXPECT_LT(source.delivered(), 2 * kHeaderLimit);
}

TEST(ResponseParserLimits, EndlessBodyIsCutOffAfterTheLimit) {
    EndlessSource source("HTTP/1.1 200 OK\r\n\r\n");
    try {
        readResponse(source, [](int) {});
        FAIL() << "an endless body was accepted";
    } catch (const TransportError& error) {
        EXPECT_STREQ("Response body too large", error.what());
    }
    EXPECT_LT(source.delivered(), kBodyLimit + kBodyLimit / 16);
}

TEST(ResponseParserLimits, ChunksCountTogetherAgainstTheBodyLimit) {
    const ResponseLimits limits{.maxHeaderBytes = 1024, .maxBodyBytes = 10};
    MemorySource fits(kChunkedHead + "6\r\nabcdef\r\n4\r\nghij\r\n0\r\n\r\n");
    EXPECT_EQ("abcdefghij", readResponse(
                                fits, [](int) {}, limits)
                                .body);
    MemorySource over(kChunkedHead + "6\r\nabcdef\r\n5\r\nghijk\r\n0\r\n\r\n");
    EXPECT_THROW(readResponse(
                     over, [](int) {}, limits),
                 TransportError);
}

TEST(ResponseParserLimits, BodyOfExactlyTheLimitIsRead) {
    MemorySource source("HTTP/1.1 200 OK\r\n\r\n" + std::string(kBodyLimit, 'b'));
    EXPECT_EQ(kBodyLimit, readResponse(source, [](int) {}).body.size());
}

TEST(ResponseParserOrder, StatusIsReportedBeforeTheBodyIsRead) {
    // The connection breaks after the headers: the status must already be known.
    MemorySource source("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", std::string::npos,
                        "TLS error while receiving: alert");
    std::vector<int> statuses;
    try {
        readResponse(source, [&](int status) { statuses.push_back(status); });
        FAIL() << "a broken connection gave a reply";
    } catch (const TransportError& error) {
        EXPECT_STREQ("TLS error while receiving: alert", error.what());
    }
    EXPECT_EQ(std::vector<int>{200}, statuses);
}

TEST(ResponseParserOrder, NoStatusIsReportedWhenTheHeadersAreBad) {
    MemorySource source("HTTP/1.1 200 OK\r\nContent-Length: x\r\n\r\n");
    bool reported = false;
    EXPECT_THROW(readResponse(source, [&](int) { reported = true; }), TransportError);
    EXPECT_FALSE(reported);
}

}  // namespace
}  // namespace karvel::browser::api
