#include "sim/sim_loop.h"

#include "model/param_decoder.h"
#include "sim/line_check.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace sg::sim {

namespace {

constexpr auto BYTE_TIME = std::chrono::microseconds(1042); // 10 bits at 9600 baud
constexpr auto SPLIT_GAP = std::chrono::milliseconds(5);
constexpr auto STALE_GARBAGE = std::chrono::milliseconds(500);
constexpr auto FRAME_TIMEOUT = std::chrono::milliseconds(200);

} // namespace

SimLoop::SimLoop(const SimOptions &options, PseudoTerminal &line, std::FILE *log)
    : m_options(options), m_line(line), m_log(log), m_firmware(options.firmware)
{
}

void SimLoop::run(int stopFd)
{
    while (m_line.ok()) {
        pollfd fds[2] = {
            {stopFd, POLLIN, 0},
            {m_line.master(), static_cast<short>(POLLIN | (m_blocked ? POLLOUT : 0)), 0}};
        if (poll(fds, 2, pollTimeoutMs()) < 0 && errno != EINTR)
            return;
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN)
            readLine();
        if (m_line.ok())
            writeDue();
    }
}

void SimLoop::readLine()
{
    std::uint8_t buffer[4096];
    const ssize_t count = ::read(m_line.master(), buffer, sizeof buffer);
    if (count <= 0)
        return;
    if (m_options.unplugAfter == std::size_t{0}) {
        unplug();
        return;
    }
    const std::span<const std::uint8_t> heard(buffer, static_cast<std::size_t>(count));
    // tcgetattr on the master reads the far end's settings: the ones the tool chose.
    termios settings{};
    if (tcgetattr(m_line.master(), &settings) == 0) {
        if (const std::optional<std::string> fault = LineFault(settings)) {
            // A line that echoes by itself would bounce the device's echo back forever.
            hearNoise(heard, *fault, !(settings.c_lflag & ECHO));
            return;
        }
    }
    m_noisyLine.clear();
    const Clock::time_point now = Clock::now();
    // Like the device, forget half a frame after a pause (the tool gave up on it).
    if (now - m_lastHeardAt > FRAME_TIMEOUT)
        m_firmware.resetLine();
    m_lastHeardAt = now;
    const FirmwareOutput out = m_firmware.receive(heard);
    if (!out.echo.empty())
        schedule(out.echo, now);
    for (const std::string &note : out.notes)
        std::fprintf(m_log, "sgsim: %s\n", note.c_str());
    for (const ByteString &answer : out.answers)
        scheduleAnswer(answer);
    if (out.paramsWritten && m_options.decode)
        std::fprintf(m_log, "sgsim: %s\n", model::DescribeParams(m_firmware.params()).c_str());
    std::fflush(m_log);

    m_frames += out.frames;
    if (m_options.unplugAfter && m_frames >= *m_options.unplugAfter) {
        writeDue();
        unplug();
    }
}

void SimLoop::hearNoise(std::span<const std::uint8_t> bytes, const std::string &line, bool echo)
{
    // The line still carries the tool's bytes back; the device makes no frame of them.
    if (echo && m_options.firmware.echo)
        schedule(ByteString(bytes.begin(), bytes.end()), Clock::now());
    m_firmware.resetLine();
    if (line == m_noisyLine)
        return;
    m_noisyLine = line;
    std::fprintf(m_log, "sgsim: line is %s, not 9600 8N1 raw: noise\n", line.c_str());
    std::fflush(m_log);
}

SimLoop::Schedule::iterator SimLoop::schedule(const ByteString &bytes, Clock::time_point at,
                                              bool droppable)
{
    if (!m_options.lineRate || bytes.empty())
        return m_pending.emplace(at, Chunk{bytes, droppable});
    Clock::time_point next = std::max(at, m_lineFreeAt);
    Schedule::iterator last;
    for (const std::uint8_t byte : bytes) {
        last = m_pending.emplace(next, Chunk{{byte}, droppable});
        next += BYTE_TIME;
    }
    m_lineFreeAt = next;
    return last;
}

void SimLoop::scheduleAnswer(const ByteString &answer)
{
    Clock::time_point at = Clock::now() + std::chrono::milliseconds(m_options.delayMs);
    Schedule::iterator last;
    if (m_options.split) {
        const std::size_t piece = (answer.size() + 2) / 3;
        for (std::size_t start = 0; start < answer.size(); start += piece) {
            const auto first = answer.begin() + static_cast<std::ptrdiff_t>(start);
            const auto end = answer.begin() +
                             static_cast<std::ptrdiff_t>(std::min(answer.size(), start + piece));
            last = schedule(ByteString(first, end), at);
            at += SPLIT_GAP;
        }
    } else {
        last = schedule(answer, at);
    }
    last->second.endsAnswer = true;
    if (m_options.floodBytes > 0) {
        ByteString garbage(m_options.floodBytes);
        for (std::size_t i = 0; i < garbage.size(); ++i)
            garbage[i] = static_cast<std::uint8_t>(i * 131 + 7);
        schedule(garbage, at, true);
    }
}

void SimLoop::writeDue()
{
    m_blocked = false;
    const Clock::time_point now = Clock::now();
    while (!m_pending.empty() && m_pending.begin()->first <= now) {
        auto chunk = m_pending.begin();
        ByteString &bytes = chunk->second.bytes;
        const ssize_t written = ::write(m_line.master(), bytes.data(), bytes.size());
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            m_pending.clear();
            return;
        }
        if (written > 0)
            bytes.erase(bytes.begin(), bytes.begin() + written);
        if (bytes.empty()) {
            if (chunk->second.endsAnswer) {
                std::fprintf(m_log, "sgsim: answer sent\n");
                std::fflush(m_log);
            }
            m_pending.erase(chunk);
            continue;
        }
        // The tool is not reading: garbage is not worth keeping, real answers are.
        if (chunk->second.droppable && now - chunk->first > STALE_GARBAGE) {
            m_pending.erase(chunk);
            continue;
        }
        m_blocked = true;
        return;
    }
}

int SimLoop::pollTimeoutMs() const
{
    if (m_pending.empty() || m_blocked)
        return m_blocked ? static_cast<int>(STALE_GARBAGE.count()) : -1;
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(m_pending.begin()->first - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
}

void SimLoop::unplug()
{
    std::fprintf(m_log, "sgsim: unplugged\n");
    std::fflush(m_log);
    m_pending.clear();
    m_line.close();
}

} // namespace sg::sim
