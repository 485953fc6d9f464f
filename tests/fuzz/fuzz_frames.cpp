// Frames built from arbitrary blocks: checksum, length byte and payload always right.

#include "fuzz_check.h"
#include "protocol/frames.h"

#include <algorithm>
#include <cstdint>

using namespace sg::protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    const ByteString rest(data + 1, data + size);

    LinkBuffers buffers;
    buffers.rxBuffer = rest; // whatever was there must go
    ByteString payload;
    switch (selector % 4) {
    case 0:
        payload.assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(
                                                        std::min<std::size_t>(rest.size(), 8)));
        BuildWriteDataFrame(payload, buffers);
        break;
    case 1: {
        sg::model::ParamBlock params{};
        std::copy_n(rest.begin(), std::min<std::size_t>(rest.size(), 8), params.begin());
        payload.assign(params.begin(), params.end());
        BuildWriteParamsFrame(params, buffers);
        break;
    }
    case 2:
        BuildReadParamsFrame(buffers);
        break;
    default:
        BuildReadDataFrame(buffers);
        break;
    }

    const ByteString &frame = buffers.txFrame;
    FUZZ_CHECK(Checksum(frame) == 0);
    FUZZ_CHECK(frame.size() == payload.size() + FRAME_OVERHEAD);
    FUZZ_CHECK(frame[0] == FRAME_START && frame[1] == frame.size());
    FUZZ_CHECK(std::equal(payload.begin(), payload.end(), frame.begin() + 4));
    FUZZ_CHECK(buffers.rxBuffer.empty());
    return 0;
}
