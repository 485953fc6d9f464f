#pragma once

#include "protocol/frames.h"
#include "protocol/port_catalog.h"
#include "protocol/serial_link.h"

#include <optional>
#include <string>

namespace sg::cli {

enum class ProbeVerdict
{
    Generator, // answered the read-parameters request as a generator does
    NoAnswer,  // opened, but nothing or something else came back
    Unusable,  // could not be opened, or vanished while open
    Skipped,   // not opened: a probe of every port passes it by
};

struct ProbeResult
{
    protocol::Port port;
    ProbeVerdict verdict = ProbeVerdict::NoAnswer;
    std::string reason;                      // why a port is unusable or skipped
    std::optional<model::ParamBlock> params; // what a generator answered
};

// Asks one port whether a generator listens on it: one read-parameters request, never a
// write, and the answer judged strictly. Many probes share one wait.
class PortProbe : public protocol::SerialLinkListener
{
public:
    PortProbe(protocol::Port port, protocol::SerialLink &link);
    ~PortProbe() override;
    PortProbe(const PortProbe &) = delete;
    PortProbe &operator=(const PortProbe &) = delete;

    // Opens the port and sends the request; false when there is nothing to wait for.
    bool start();
    // Judges what came back and closes the port.
    const ProbeResult &finish();

    void bytesArrived() override;
    void deviceLost() override;

private:
    void takeInput();

    protocol::SerialLink &m_link;
    protocol::LinkBuffers m_buffers;
    ProbeResult m_result;
};

} // namespace sg::cli
