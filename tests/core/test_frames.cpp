#include "hex_bytes.h"
#include "protocol/frames.h"

#include <doctest/doctest.h>

#include <functional>
#include <span>

using namespace sg::protocol;

TEST_CASE("frames match the reference bytes")
{
    const struct
    {
        const char *name;
        std::function<void(LinkBuffers &)> build;
        std::string frame;
    } rows[] = {
        {"read params", BuildReadParamsFrame, "4405180059"},
        {"read data", BuildReadDataFrame, "4405181049"},
        {"write data 00 00", [](LinkBuffers &b) { BuildWriteDataFrame(Bytes("0000"), b); },
         "4407281000007B"},
        {"write data 01..04", [](LinkBuffers &b) { BuildWriteDataFrame(Bytes("01020304"), b); },
         "440928100102030471"},
        {"write empty data", [](LinkBuffers &b) { BuildWriteDataFrame({}, b); }, "4405281079"},
        {"write params",
         [](LinkBuffers &b) { BuildWriteParamsFrame(Params("00010040190A0004"), b); },
         "440D280000010040190A000437"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        LinkBuffers buffers;
        buffers.rxBuffer = Bytes("AABB");
        row.build(buffers);
        CHECK(ToHex(buffers.txFrame) == row.frame);
        CHECK(buffers.rxBuffer.empty());
    }
}

TEST_CASE("every frame XORs to zero and carries its own length")
{
    LinkBuffers buffers;
    for (std::size_t size = 0; size <= sg::model::MAX_DATA_BYTES; ++size) {
        ByteString data;
        for (std::size_t i = 0; i < size; ++i)
            data.push_back(static_cast<std::uint8_t>(0x5A + 37 * i));
        BuildWriteDataFrame(data, buffers);
        CHECK(std::size_t{buffers.txFrame[1]} == buffers.txFrame.size());
        CHECK(buffers.txFrame.size() == size + FRAME_OVERHEAD);
        CHECK(int{Checksum(buffers.txFrame)} == 0);
    }
    BuildWriteParamsFrame(Params("FFFFFFFFFFFFFFFF"), buffers);
    CHECK(int{buffers.txFrame[1]} == 0x0D);
}

TEST_CASE("rebuilding the same frame empties what was received")
{
    LinkBuffers buffers;
    BuildReadDataFrame(buffers);
    AppendReceived(buffers, Bytes("4405181049"));
    BuildReadDataFrame(buffers);
    CHECK(buffers.rxBuffer.empty());
}

TEST_CASE("a reply is complete at exactly the request's length plus 11")
{
    const struct
    {
        std::size_t received;
        bool complete;
    } rows[] = {{15, false}, {16, true}, {17, false}, {0, false}};
    for (const auto &row : rows) {
        CAPTURE(row.received);
        LinkBuffers buffers;
        BuildReadParamsFrame(buffers);
        ByteString reply = Bytes("4405180059 440B 00010040190A0004 37 AA");
        reply.resize(row.received, 0x00);
        // Split so that arrival in pieces is exercised too.
        const std::size_t half = reply.size() / 2;
        AppendReceived(buffers, std::span(reply).first(half));
        AppendReceived(buffers, std::span(reply).subspan(half));

        CHECK(IsReplyComplete(buffers) == row.complete);
        if (row.complete)
            CHECK(ToHex(ReplyPayload(buffers)) == "00010040190A0004");
    }
}

TEST_CASE("the answer check judges the 11 answer bytes alone")
{
    const struct
    {
        const char *name;
        std::string echo; // empty: the request itself
        std::string answer;
        bool valid;
    } rows[] = {
        {"well formed", "", "440B00010040190A000419", true},
        {"other start", "", "450B00010040190A000418", false},
        {"other length", "", "440C00010040190A00041E", false},
        {"bad checksum", "", "440B00010040190A000418", false},
        {"one short", "", "440B00010040190A0004", false},
        {"echo garbled, answer well formed", "FFFFFFFFFF", "440B00010040190A000419", true},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        LinkBuffers buffers;
        BuildReadParamsFrame(buffers);
        AppendReceived(buffers, row.echo.empty() ? buffers.txFrame : Bytes(row.echo));
        AppendReceived(buffers, Bytes(row.answer));
        CHECK(IsAnswerValid(buffers) == row.valid);
    }
}

TEST_CASE("an overflowing input never completes, and the next request starts clean")
{
    LinkBuffers buffers;
    BuildReadParamsFrame(buffers);
    AppendReceived(buffers, ByteString(RX_CAPACITY + 16, 0x00));
    CHECK(buffers.rxBuffer.size() == RX_CAPACITY);
    CHECK_FALSE(IsReplyComplete(buffers));
    BuildReadParamsFrame(buffers);
    AppendReceived(buffers, ByteString(16, 0x00));
    CHECK(IsReplyComplete(buffers));
}

TEST_CASE("a short reply is described by what came back")
{
    const std::string echo = "4405180059";
    const struct
    {
        std::string received;
        std::size_t dropped;
        std::string text;
    } rows[] = {
        {"", 0, "COM3: nothing came back (0 of 16 bytes): is the device powered and on this port?"},
        {echo, 0,
         "COM3: 5 of 16 bytes came back, only the request's own echo: the device did not answer"},
        {echo + "440B", 0, "COM3: 7 of 16 bytes came back: 44 05 18 00 59 44 0B"},
        {echo + "440B00010040190A0004191155", 0,
         "COM3: 18 of 16 bytes came back: 44 05 18 00 59 44 0B 00 01 00 40 19 0A 00 04 19 …"},
        {echo, 2000, "COM3: 2005 of 16 bytes came back: 44 05 18 00 59 …"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.received);
        LinkBuffers buffers;
        BuildReadParamsFrame(buffers);
        buffers.rxBuffer = Bytes(row.received);
        buffers.rxDropped = row.dropped;
        CHECK(DescribeShortReply("COM3", buffers) == row.text);
    }
}
