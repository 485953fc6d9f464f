#pragma once

#include "model/blocks.h"
#include "model/byte_string.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sg::sim {

using model::ByteString;

struct FirmwareOptions
{
    bool echo = true;                        // the line hears the tool's own bytes
    bool silent = false;                     // never answer a read
    std::optional<std::size_t> answerLength; // cut or pad answers to this many bytes
    std::chrono::milliseconds busy{0};       // after a write, deaf to frames this long
};

// What the device does with the bytes it hears.
struct FirmwareOutput
{
    ByteString echo;
    std::vector<ByteString> answers; // one per read request
    std::vector<std::string> notes;  // one line per frame, for the operator
    std::size_t frames = 0;          // well-formed frames seen
    bool paramsWritten = false;
};

// The signal generator's protocol side: frames in, stored blocks, 11-byte answers out.
class Firmware
{
public:
    explicit Firmware(FirmwareOptions options = {});

    using Clock = std::chrono::steady_clock;

    FirmwareOutput receive(std::span<const std::uint8_t> bytes,
                           Clock::time_point now = Clock::now());
    // The line was dropped: a half-heard frame is forgotten.
    void resetLine();

    const model::ParamBlock &params() const { return m_params; }
    const model::DataBlock &data() const { return m_data; }

private:
    void handleFrame(FirmwareOutput &out, Clock::time_point now);
    ByteString answerFor(std::uint8_t address) const;

    FirmwareOptions m_options;
    model::ParamBlock m_params{0x00, 0x01, 0x00, 0x40, 0x19, 0x0A, 0x00, 0x04};
    model::DataBlock m_data{0x01, 0x02, 0x03, 0x04};
    ByteString m_frame;
    Clock::time_point m_busyUntil{}; // while it writes its memory
};

} // namespace sg::sim
