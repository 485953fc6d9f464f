#include "protocol/frames.h"

#include "model/hex_codec.h"

#include <algorithm>

namespace sg::protocol {

namespace {

void BuildFrame(std::uint8_t command, std::uint8_t address, std::span<const std::uint8_t> payload,
                LinkBuffers &buffers)
{
    buffers.rxBuffer.clear();
    buffers.rxDropped = 0;

    ByteString &frame = buffers.txFrame;
    frame.clear();
    frame.push_back(FRAME_START);
    frame.push_back(static_cast<std::uint8_t>(payload.size() + FRAME_OVERHEAD));
    frame.push_back(command);
    frame.push_back(address);
    frame.insert(frame.end(), payload.begin(), payload.end());

    frame.push_back(Checksum(frame));
}

} // namespace

std::uint8_t Checksum(std::span<const std::uint8_t> bytes)
{
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : bytes)
        sum ^= byte;
    return sum;
}

void BuildWriteDataFrame(const model::DataBlock &data, LinkBuffers &buffers)
{
    BuildFrame(CMD_WRITE, ADDR_DATA, data, buffers);
}

void BuildWriteParamsFrame(const model::ParamBlock &params, LinkBuffers &buffers)
{
    BuildFrame(CMD_WRITE, ADDR_PARAMS, params, buffers);
}

void BuildReadParamsFrame(LinkBuffers &buffers)
{
    BuildFrame(CMD_READ, ADDR_PARAMS, {}, buffers);
}

void BuildReadDataFrame(LinkBuffers &buffers)
{
    BuildFrame(CMD_READ, ADDR_DATA, {}, buffers);
}

void AppendReceived(LinkBuffers &buffers, std::span<const std::uint8_t> bytes)
{
    const std::size_t room = RX_CAPACITY - buffers.rxBuffer.size();
    const std::size_t kept = std::min(room, bytes.size());
    buffers.rxBuffer.insert(buffers.rxBuffer.end(), bytes.begin(),
                            bytes.begin() + static_cast<std::ptrdiff_t>(kept));
    buffers.rxDropped += bytes.size() - kept;
}

bool IsReplyComplete(const LinkBuffers &buffers)
{
    return buffers.rxDropped == 0 &&
           buffers.rxBuffer.size() == buffers.txFrame.size() + ANSWER_BYTES;
}

bool IsAnswerValid(const LinkBuffers &buffers)
{
    if (!IsReplyComplete(buffers))
        return false;
    const std::span<const std::uint8_t> answer =
        std::span(buffers.rxBuffer).subspan(buffers.txFrame.size());
    return answer[0] == FRAME_START && answer[1] == ANSWER_BYTES && Checksum(answer) == 0;
}

std::string DescribeShortReply(std::string_view port, const LinkBuffers &buffers)
{
    const std::size_t expected = buffers.txFrame.size() + ANSWER_BYTES;
    const std::size_t received = buffers.rxBuffer.size() + buffers.rxDropped;
    const std::string head = std::string(port) + ": ";
    const std::string count =
        std::to_string(received) + " of " + std::to_string(expected) + " bytes";
    if (received == 0)
        return head + "nothing came back (" + count + "): is the device powered and on this port?";
    if (buffers.rxDropped == 0 && buffers.rxBuffer == buffers.txFrame)
        return head + count + " came back, only the request's own echo: the device did not answer";
    // Enough to tell an echo, another device or another baud rate apart.
    constexpr std::size_t SHOWN = 16;
    const std::span<const std::uint8_t> first =
        std::span(buffers.rxBuffer).first(std::min(SHOWN, buffers.rxBuffer.size()));
    return head + count + " came back: " + model::HexText(first, " ") +
           (received > SHOWN ? " …" : "");
}

Payload ReplyPayload(const LinkBuffers &buffers)
{
    Payload payload{};
    const std::size_t offset = buffers.txFrame.size() + PAYLOAD_OFFSET_IN_ANSWER;
    if (buffers.rxBuffer.size() < offset + PAYLOAD_BYTES)
        return payload;
    const auto begin = buffers.rxBuffer.begin() + static_cast<std::ptrdiff_t>(offset);
    std::copy(begin, begin + PAYLOAD_BYTES, payload.begin());
    return payload;
}

} // namespace sg::protocol
