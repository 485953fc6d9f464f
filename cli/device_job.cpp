#include "cli/device_job.h"

#include "model/hex_codec.h"

namespace sg::cli {

DeviceJob::DeviceJob(protocol::Resolved target, transfer::TransferEngine &engine,
                     transfer::EventLoop &loop, std::function<void()> onFinished)
    : m_target(std::move(target)), m_engine(engine), m_loop(loop),
      m_onFinished(std::move(onFinished))
{
    m_result.port = m_target.port;
    m_engine.setEvents(this);
}

DeviceJob::~DeviceJob()
{
    m_engine.setEvents(nullptr);
}

void DeviceJob::startRead()
{
    begin(Phase::Read);
}

void DeviceJob::startStore(const model::Blocks &blocks, bool verify)
{
    m_stored = &blocks;
    m_verify = verify;
    if (verify)
        m_engine.keepPortAfterSuccess();
    begin(Phase::Store);
}

void DeviceJob::begin(Phase phase)
{
    if (phase != Phase::Verify)
        m_started = std::chrono::steady_clock::now();
    m_phase = phase;
    phase == Phase::Store ? m_engine.startStore(m_target, *m_stored) : m_engine.startRead(m_target);
}

void DeviceJob::transferEnded(const transfer::TransferOutcome &outcome)
{
    // The next phase starts from the loop, not from inside the engine's own step.
    m_loop.tickOnce(0, [this, outcome] { phaseEnded(outcome); });
}

void DeviceJob::phaseEnded(const transfer::TransferOutcome &outcome)
{
    switch (outcome.end) {
    case transfer::TransferEnd::NoResponse:
        m_result.received = model::HexText(outcome.received);
        fail(Outcome::NoResponse, transfer::NO_RESPONSE_TEXT, outcome.reason);
        return finish();
    case transfer::TransferEnd::ComError:
        fail(Outcome::PortUnusable, transfer::COM_ERROR_TEXT, outcome.reason);
        return finish();
    case transfer::TransferEnd::Ok:
        break;
    }
    const model::Blocks &blocks = outcome.read ? outcome.blocks : *m_stored;
    const std::string data = model::HexText(blocks.data);
    const std::string params = model::HexText(blocks.params, " ");
    if (m_phase == Phase::Verify) {
        m_result.verified = blocks.data == m_stored->data && blocks.params == m_stored->params;
        if (!m_result.verified)
            fail(Outcome::Mismatch, "verify mismatch",
                 "read back data " + data + " params " + params);
        return finish();
    }
    m_result.data = data;
    m_result.params = params;
    if (m_phase == Phase::Store && m_verify)
        begin(Phase::Verify);
    else
        finish();
}

void DeviceJob::finish()
{
    m_result.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - m_started)
                             .count();
    m_onFinished();
}

void DeviceJob::fail(Outcome outcome, std::string_view text, const std::string &reason)
{
    m_result.outcome = outcome;
    m_result.error = text;
    m_result.reason = reason;
}

} // namespace sg::cli
