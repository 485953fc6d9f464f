#include "cli/device_job.h"

#include "model/hex_codec.h"

namespace sg::cli {

namespace {

// The boxes hold hex digits and spaces only.
std::string Narrow(const std::u16string &text)
{
    return std::string(text.begin(), text.end());
}

} // namespace

DeviceJob::DeviceJob(PortTarget port, std::u16string comText, EventLoop &loop,
                     std::function<void()> onFinished)
    : m_comText(std::move(comText)), m_loop(loop), m_onFinished(std::move(onFinished))
{
    m_result.port = std::move(port);
}

void DeviceJob::startRead(transfer::TransferController &controller)
{
    m_controller = &controller;
    begin(Phase::Read);
}

void DeviceJob::startStore(transfer::TransferController &controller, const model::Blocks &blocks,
                           bool verify)
{
    m_controller = &controller;
    m_verify = verify;
    m_data = model::BytesToHex(blocks.data);
    for (std::size_t i = 0; i < model::PARAM_COUNT; ++i)
        m_params[i] = model::ByteToHex(blocks.params[i]);
    begin(Phase::Store);
}

void DeviceJob::begin(Phase phase)
{
    m_phase = phase;
    m_controller->setListener(this);
    phase == Phase::Store ? m_controller->startStore() : m_controller->startRead();
}

void DeviceJob::setParamText(std::size_t index, const std::u16string &text)
{
    m_params.at(index) = text;
}

void DeviceJob::transferEnded(const transfer::TransferOutcome &outcome)
{
    if (outcome.end == transfer::TransferEnd::NoResponse)
        m_result.received = Narrow(model::BytesToHex(outcome.received));
    // The next phase starts from the loop, not from inside the controller's own step.
    m_loop.callAfter(0, [this] { phaseEnded(); });
}

void DeviceJob::critical(std::string_view text, const std::string &detail)
{
    fail(Outcome::PortUnusable, text, detail);
}

void DeviceJob::warning(std::string_view text, const std::string &detail)
{
    fail(Outcome::NoResponse, text, detail);
}

void DeviceJob::fail(Outcome outcome, std::string_view text, const std::string &detail)
{
    m_result.outcome = outcome;
    m_result.error = text;
    m_result.reason = detail;
}

void DeviceJob::phaseEnded()
{
    if (m_result.outcome != Outcome::Ok)
        return finish();
    if (m_phase == Phase::Verify) {
        m_result.verified = boxData() == m_result.data && boxParams() == m_result.params;
        if (!m_result.verified)
            fail(Outcome::Mismatch, "verify mismatch",
                 "read back data " + boxData() + " params " + boxParams());
        return finish();
    }
    // What was read, or what was stored and is now to be read back.
    m_result.data = boxData();
    m_result.params = boxParams();
    if (m_phase == Phase::Store && m_verify)
        begin(Phase::Verify);
    else
        finish();
}

void DeviceJob::finish()
{
    m_controller->setListener(nullptr);
    m_onFinished();
}

std::string DeviceJob::boxData() const
{
    return Narrow(m_data);
}

std::string DeviceJob::boxParams() const
{
    std::string joined;
    for (const std::u16string &param : m_params)
        joined += (joined.empty() ? "" : " ") + Narrow(param);
    return joined;
}

} // namespace sg::cli
