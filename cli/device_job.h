#pragma once

#include <chrono>

#include "model/blocks.h"
#include "protocol/port_resolver.h"
#include "transfer/event_loop.h"
#include "transfer/transfer_engine.h"
#include "transfer/transfer_events.h"

#include <functional>
#include <string>

namespace sg::cli {

enum class Outcome
{
    Ok,
    NoResponse,   // "ERROR! No response."
    PortUnusable, // "ERROR! Check COM settings"
    Mismatch,     // read back after a store, and it differs
};

struct DeviceResult
{
    protocol::Port port;
    Outcome outcome = Outcome::Ok;
    std::string data;     // hex digits, as read or as stored
    std::string params;   // "00 01 00 40 19 0A 00 04"
    std::string error;    // the message, empty when ok
    std::string reason;   // what the link or the check said, may be empty
    std::string received; // no response: the hex bytes that came back instead
    bool verified = false;
    long long elapsedMs = 0; // from the start to the last step, read-back included
};

// One device's Read, or Store and its read-back, run on its own engine.
class DeviceJob : public transfer::TransferEvents
{
public:
    // target has no device, and says why, when the number is not there.
    DeviceJob(protocol::Resolved target, transfer::TransferEngine &engine,
              transfer::EventLoop &loop, std::function<void()> onFinished);
    ~DeviceJob() override;
    DeviceJob(const DeviceJob &) = delete;
    DeviceJob &operator=(const DeviceJob &) = delete;

    void startRead();
    // blocks must outlive the job.
    void startStore(const model::Blocks &blocks, bool verify);
    const DeviceResult &result() const { return m_result; }

    // transfer::TransferEvents
    void paramsRead(const model::ParamBlock &) override {}
    void transferEnding(const transfer::TransferOutcome &) override {}
    void transferEnded(const transfer::TransferOutcome &outcome) override;

private:
    enum class Phase
    {
        Read,
        Store,
        Verify
    };

    void begin(Phase phase);
    void phaseEnded(const transfer::TransferOutcome &outcome);
    void fail(Outcome outcome, std::string_view text, const std::string &reason);
    void finish();

    protocol::Resolved m_target;
    transfer::TransferEngine &m_engine;
    transfer::EventLoop &m_loop;
    std::function<void()> m_onFinished;
    const model::Blocks *m_stored = nullptr;
    Phase m_phase = Phase::Read;
    bool m_verify = false;
    std::chrono::steady_clock::time_point m_started;
    DeviceResult m_result;
};

} // namespace sg::cli
