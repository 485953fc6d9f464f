#include "sim/firmware.h"

#include "model/hex_codec.h"

#include "protocol/frames.h"

#include <algorithm>
#include <cstdio>

namespace sg::sim {

namespace {

constexpr std::size_t MAX_FRAME = protocol::FRAME_OVERHEAD + model::MAX_DATA_BYTES;

} // namespace

Firmware::Firmware(FirmwareOptions options) : m_options(options) {}

FirmwareOutput Firmware::receive(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    FirmwareOutput out;
    if (m_options.echo)
        out.echo.assign(bytes.begin(), bytes.end());
    for (const std::uint8_t byte : bytes) {
        if (m_frame.empty() && byte != protocol::FRAME_START) {
            out.notes.push_back("ignored stray byte " + model::HexText(std::span(&byte, 1), " "));
            continue;
        }
        m_frame.push_back(byte);
        if (m_frame.size() == 2 && (byte < protocol::FRAME_OVERHEAD || byte > MAX_FRAME)) {
            out.notes.push_back("ignored frame with bad length: " + model::HexText(m_frame, " "));
            m_frame.clear();
            continue;
        }
        if (m_frame.size() >= 2 && m_frame.size() == m_frame[1]) {
            handleFrame(out, now);
            m_frame.clear();
        }
    }
    return out;
}

void Firmware::resetLine()
{
    m_frame.clear();
}

void Firmware::handleFrame(FirmwareOutput &out, Clock::time_point now)
{
    const std::string hex = model::HexText(m_frame, " ");
    if (protocol::Checksum(m_frame) != 0) {
        out.notes.push_back("ignored frame with bad checksum: " + hex);
        return;
    }
    const std::uint8_t command = m_frame[2];
    const std::uint8_t address = m_frame[3];
    const std::span<const std::uint8_t> payload =
        std::span(m_frame).subspan(4, m_frame.size() - protocol::FRAME_OVERHEAD);
    const bool known = (command == protocol::CMD_READ && payload.empty()) ||
                       (command == protocol::CMD_WRITE && address == protocol::ADDR_DATA) ||
                       (command == protocol::CMD_WRITE && address == protocol::ADDR_PARAMS &&
                        payload.size() == model::PARAM_COUNT);
    if (!known || (address != protocol::ADDR_DATA && address != protocol::ADDR_PARAMS)) {
        out.notes.push_back("ignored unknown frame: " + hex);
        return;
    }
    // A device that writes its memory hears nothing else meanwhile.
    if (now < m_busyUntil) {
        out.notes.push_back("ignored frame while busy writing: " + hex);
        return;
    }
    ++out.frames;
    if (command == protocol::CMD_WRITE)
        m_busyUntil = now + m_options.busy;
    if (command == protocol::CMD_WRITE && address == protocol::ADDR_DATA) {
        m_data.assign(payload.begin(), payload.end());
        out.notes.push_back("write data   " + hex);
        return;
    }
    if (command == protocol::CMD_WRITE) {
        std::copy(payload.begin(), payload.end(), m_params.begin());
        out.paramsWritten = true;
        out.notes.push_back("write params " + hex);
        return;
    }
    out.notes.push_back(
        std::string(address == protocol::ADDR_DATA ? "read data    " : "read params  ") + hex +
        (m_options.silent ? " (silent)" : ""));
    if (!m_options.silent)
        out.answers.push_back(answerFor(address));
}

ByteString Firmware::answerFor(std::uint8_t address) const
{
    ByteString block(protocol::PAYLOAD_BYTES, 0x00);
    if (address == protocol::ADDR_DATA)
        std::copy(m_data.begin(), m_data.end(), block.begin());
    else
        std::copy(m_params.begin(), m_params.end(), block.begin());

    ByteString answer;
    answer.reserve(protocol::ANSWER_BYTES);
    answer.push_back(protocol::FRAME_START);
    answer.push_back(static_cast<std::uint8_t>(protocol::ANSWER_BYTES));
    answer.insert(answer.end(), block.begin(), block.end());
    answer.push_back(protocol::Checksum(answer));
    if (m_options.answerLength)
        answer.resize(*m_options.answerLength, 0x00);
    return answer;
}

} // namespace sg::sim
