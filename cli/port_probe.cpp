#include "cli/port_probe.h"

#include "transfer/ticker.h"

#include <utility>

namespace sg::cli {

PortProbe::PortProbe(protocol::Resolved target, protocol::SerialLink &link,
                     transfer::EventLoop &loop, std::function<void()> onDone)
    : m_link(link), m_loop(loop), m_onDone(std::move(onDone)), m_target(std::move(target))
{
    m_result.port = m_target.port;
    m_link.setListener(this);
}

PortProbe::~PortProbe()
{
    m_link.setListener(nullptr);
    m_link.close();
}

bool PortProbe::start()
{
    // A port that is not there cannot be used; one that is there may be passed by.
    if (!m_target.error.empty() || !m_result.port.notProbed.empty()) {
        m_result.verdict =
            m_result.port.device.empty() ? ProbeVerdict::Unusable : ProbeVerdict::Skipped;
        m_result.reason = m_target.error.empty() ? m_result.port.notProbed : m_target.error;
        return false;
    }
    protocol::BuildReadParamsFrame(m_buffers);
    if (!m_link.open(m_result.port.device) || (m_link.isReady() && !sendRequest())) {
        unusable();
        return false;
    }
    m_waiting = true;
    return true;
}

// The answer is judged one period after the request went out, however long the port took
// to get ready.
bool PortProbe::sendRequest()
{
    if (!m_link.send(m_buffers.txFrame))
        return false;
    m_loop.tickOnce(transfer::TICK_MS, [this] { done(); });
    return true;
}

void PortProbe::linkReady()
{
    if (m_waiting && !sendRequest()) {
        unusable();
        done();
    }
}

const ProbeResult &PortProbe::finish()
{
    if (m_link.isOpen()) {
        takeInput();
        m_link.close();
        if (protocol::IsAnswerValid(m_buffers)) {
            m_result.verdict = ProbeVerdict::Generator;
            m_result.params = protocol::ReplyPayload(m_buffers);
        }
    }
    return m_result;
}

void PortProbe::bytesArrived()
{
    takeInput();
    if (m_endWhenAnswered &&
        m_buffers.rxBuffer.size() >= m_buffers.txFrame.size() + protocol::ANSWER_BYTES)
        done();
}

void PortProbe::deviceLost()
{
    unusable();
    done();
}

void PortProbe::unusable()
{
    m_result.verdict = ProbeVerdict::Unusable;
    m_result.reason = protocol::LinkFailureText(m_target, m_link);
    m_link.close();
}

void PortProbe::done()
{
    if (std::exchange(m_waiting, false))
        m_onDone();
}

void PortProbe::takeInput()
{
    protocol::AppendReceived(m_buffers, m_link.takeInput());
}

} // namespace sg::cli
