#pragma once

#include "sim/firmware.h"
#include "sim/pseudo_terminal.h"
#include "sim/sim_options.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <span>
#include <string>

namespace sg::sim {

// Feeds what the tool writes to the firmware and plays back its output, with the
// faults asked for. Sleeps in poll() whenever there is nothing due.
class SimLoop
{
public:
    SimLoop(const SimOptions &options, PseudoTerminal &line, std::FILE *log);

    // Returns when stopFd becomes readable or the line was unplugged.
    void run(int stopFd);

private:
    using Clock = std::chrono::steady_clock;
    struct Chunk
    {
        ByteString bytes;
        bool droppable = false;  // garbage that may be lost when the line is full
        bool endsAnswer = false; // its last byte completes an answer, which is then logged
    };
    using Schedule = std::multimap<std::chrono::steady_clock::time_point, Chunk>;

    void readLine();
    // What the tool sent while its line was set for another device.
    void hearNoise(std::span<const std::uint8_t> bytes, const std::string &line, bool echo);
    // Returns the chunk that goes out last.
    Schedule::iterator schedule(const ByteString &bytes, Clock::time_point at,
                                bool droppable = false);
    void scheduleAnswer(const ByteString &answer);
    void writeDue();
    int pollTimeoutMs() const;
    void unplug();

    SimOptions m_options;
    PseudoTerminal &m_line;
    std::FILE *m_log;
    Firmware m_firmware;
    Schedule m_pending;
    Clock::time_point m_lineFreeAt{};
    Clock::time_point m_lastHeardAt{};
    std::size_t m_frames = 0;
    bool m_blocked = false;
    std::string m_noisyLine; // the wrong line last reported, so it is said once
};

} // namespace sg::sim
