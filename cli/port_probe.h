#pragma once

#include "protocol/frames.h"
#include "protocol/port_resolver.h"
#include "protocol/serial_link.h"
#include "transfer/event_loop.h"

#include <functional>
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
// write, and the answer judged strictly, one period after the request went out.
class PortProbe : public protocol::SerialLinkListener
{
public:
    // onDone: the probe has its answer, or will get none.
    PortProbe(protocol::Resolved target, protocol::SerialLink &link, transfer::EventLoop &loop,
              std::function<void()> onDone);
    ~PortProbe() override;
    PortProbe(const PortProbe &) = delete;
    PortProbe &operator=(const PortProbe &) = delete;

    // Opens the port and, once it is ready, sends the request; false when there is
    // nothing to wait for.
    bool start();
    // Judges what came back and closes the port.
    const ProbeResult &finish();
    // Done as soon as a whole reply is in (--fast), not one period after the request.
    void endWhenAnswered() { m_endWhenAnswered = true; }

    void bytesArrived() override;
    void deviceLost() override;
    void linkReady() override;

private:
    bool sendRequest();
    void takeInput();
    void unusable();
    void done();

    protocol::SerialLink &m_link;
    transfer::EventLoop &m_loop;
    std::function<void()> m_onDone;
    bool m_waiting = false;
    bool m_endWhenAnswered = false;
    protocol::LinkBuffers m_buffers;
    protocol::Resolved m_target;
    ProbeResult m_result;
};

} // namespace sg::cli
