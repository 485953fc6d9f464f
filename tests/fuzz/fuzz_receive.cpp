// Arbitrary byte streams cut in arbitrary pieces: a reply is complete exactly at the
// request's length plus 11, and its payload is the bytes from length plus 2.

#include "fuzz_check.h"
#include "protocol/frames.h"

#include <algorithm>
#include <cstdint>
#include <span>

using namespace sg::protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    LinkBuffers buffers;
    if (data[0] & 1)
        BuildReadParamsFrame(buffers);
    else
        BuildWriteDataFrame(ByteString(data[0] % 9, 0xA5), buffers);
    const std::size_t L = buffers.txFrame.size();

    // Each piece: one byte saying how long it is, then that many bytes of the stream.
    ByteString stream;
    std::size_t at = 1;
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        const std::span<const std::uint8_t> piece(data + at + 1, length);
        AppendReceived(buffers, piece);
        stream.insert(stream.end(), piece.begin(), piece.end());
        at += 1 + length;
        FUZZ_CHECK(buffers.rxBuffer.size() == std::min(stream.size(), RX_CAPACITY));
    }

    FUZZ_CHECK(IsReplyComplete(buffers) == (stream.size() == L + ANSWER_BYTES));
    if (IsReplyComplete(buffers)) {
        const Payload payload = ReplyPayload(buffers);
        FUZZ_CHECK(std::equal(payload.begin(), payload.end(),
                              stream.begin() + static_cast<std::ptrdiff_t>(L + 2)));
    }
    return 0;
}
