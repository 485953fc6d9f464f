#pragma once

#include "model/blocks.h"
#include "model/byte_string.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sg::protocol {

using model::ByteString;

inline constexpr std::uint8_t FRAME_START = 0x44;
inline constexpr std::uint8_t CMD_WRITE = 0x28;
inline constexpr std::uint8_t CMD_READ = 0x18;
inline constexpr std::uint8_t ADDR_PARAMS = 0x00;
inline constexpr std::uint8_t ADDR_DATA = 0x10;

inline constexpr std::size_t FRAME_OVERHEAD = 5; // start, length, command, address, checksum
inline constexpr std::size_t ANSWER_BYTES = 11;
inline constexpr std::size_t PAYLOAD_OFFSET_IN_ANSWER = 2;
inline constexpr std::size_t PAYLOAD_BYTES = 8;

// Far more than any reply; bytes past it only prove that the reply is too long.
inline constexpr std::size_t RX_CAPACITY = 1024;

using Payload = std::array<std::uint8_t, PAYLOAD_BYTES>;

// The last request built and everything received since it was built.
struct LinkBuffers
{
    ByteString txFrame;
    ByteString rxBuffer;
    std::size_t rxDropped = 0; // bytes received past RX_CAPACITY
};

// XOR of every byte; a whole frame, checksum included, sums to 0.
std::uint8_t Checksum(std::span<const std::uint8_t> bytes);

void BuildWriteDataFrame(const model::DataBlock &data, LinkBuffers &buffers);
void BuildWriteParamsFrame(const model::ParamBlock &params, LinkBuffers &buffers);
void BuildReadParamsFrame(LinkBuffers &buffers);
void BuildReadDataFrame(LinkBuffers &buffers);

// Appends in arrival order; keeps at most RX_CAPACITY bytes and counts the rest.
void AppendReceived(LinkBuffers &buffers, std::span<const std::uint8_t> bytes);

// Complete means exactly the echoed request plus the device's 11-byte answer.
bool IsReplyComplete(const LinkBuffers &buffers);

// Complete, and the answer itself is well formed: it starts with FRAME_START and its own
// length, and its checksum is right. Stricter than a transfer's check, for telling a
// generator apart from any other device that happens to answer.
bool IsAnswerValid(const LinkBuffers &buffers);

// What came back when the reply is not complete, for a person to read: silence, only
// the request's own echo, or the count and the first bytes, e.g. "COM3: 17 of 16 bytes
// came back: 44 05 18 00 59 …".
std::string DescribeShortReply(std::string_view port, const LinkBuffers &buffers);

// The 8 block bytes of a complete reply.
Payload ReplyPayload(const LinkBuffers &buffers);

} // namespace sg::protocol
