#pragma once

#include "cli/device_job.h"
#include "cli/port_probe.h"
#include "protocol/port_catalog.h"

#include <string>
#include <vector>

namespace sg::cli {

inline constexpr int EXIT_ALL_OK = 0;
inline constexpr int EXIT_NO_RESPONSE = 1;
inline constexpr int EXIT_PORT_UNUSABLE = 2;
inline constexpr int EXIT_MISMATCH = 3;
inline constexpr int EXIT_USAGE = 64;
inline constexpr int EXIT_INTERRUPTED = 130; // as a shell reports a SIGINT
inline constexpr int EXIT_OUT_OF_REACH = 1;  // divisor: no divisor gives the rate
inline constexpr int EXIT_NO_GENERATOR = 1;  // ports --probe: no port answered as one

// "COM2 /dev/pts/3 ok data 01020304 params 00 01 00 40 19 0A 00 04", or the failure.
std::string ResultLine(const DeviceResult &result);
// The same as one JSON object on one line.
std::string ResultJson(const DeviceResult &result);

// An unusable port outweighs a silent device, which outweighs a mismatch.
int ExitStatus(const std::vector<DeviceResult> &results);

// One line per port, as text or as JSON objects.
std::string PortLines(const protocol::PortCatalog &catalog, bool json);

// The same lines with what each port's probe found: "generator, 9615 baud", "no answer"
// or "unusable (why)".
std::string ProbeLines(const std::vector<ProbeResult> &results, bool json);

int ProbeExitStatus(const std::vector<ProbeResult> &results);

// "00 40 (divisor 64): 9615 baud, +0.16%", or why the rate cannot be reached.
std::string DivisorLine(double baud);

} // namespace sg::cli
