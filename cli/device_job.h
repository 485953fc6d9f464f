#pragma once

#include "cli/event_loop.h"
#include "cli/port_choice.h"
#include "model/blocks.h"
#include "transfer/alerts.h"
#include "transfer/transfer_controller.h"
#include "transfer/transfer_listener.h"
#include "transfer/transfer_view.h"

#include <array>
#include <functional>
#include <optional>
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
    PortTarget port;
    Outcome outcome = Outcome::Ok;
    std::string data;     // hex digits, as read or as stored
    std::string params;   // "00 01 00 40 19 0A 00 04"
    std::string error;    // the message, empty when ok
    std::string reason;   // what the link or the check said, may be empty
    std::string received; // no response: the hex bytes that came back instead
    bool verified = false;
};

// One device's Read or Store as a script runs it: the boxes the window would show, held
// in memory, and the two messages recorded rather than shown.
class DeviceJob : public transfer::TransferView,
                  public transfer::Alerts,
                  public transfer::TransferListener
{
public:
    // comText is what the controller finds the port by in its catalog.
    DeviceJob(PortTarget port, std::u16string comText, EventLoop &loop,
              std::function<void()> onFinished);

    void startRead(transfer::TransferController &controller);
    void startStore(transfer::TransferController &controller, const model::Blocks &blocks,
                    bool verify);
    const DeviceResult &result() const { return m_result; }

    // transfer::TransferView
    std::u16string dataText() const override { return m_data; }
    void setDataText(const std::u16string &text) override { m_data = text; }
    std::u16string paramText(std::size_t index) const override { return m_params.at(index); }
    void setParamText(std::size_t index, const std::u16string &text) override;
    std::u16string comText() const override { return m_comText; }
    void setReadEnabled(bool) override {}
    void setStoreEnabled(bool) override {}

    // transfer::Alerts
    void critical(std::string_view text, const std::string &detail) override;
    void warning(std::string_view text, const std::string &detail) override;

    // transfer::TransferListener
    void transferEnded(const transfer::TransferOutcome &outcome) override;

private:
    enum class Phase
    {
        Read,
        Store,
        Verify
    };

    void begin(Phase phase);
    void phaseEnded();
    void finish();
    void fail(Outcome outcome, std::string_view text, const std::string &detail);
    std::string boxData() const;
    std::string boxParams() const;

    std::u16string m_comText;
    EventLoop &m_loop;
    std::function<void()> m_onFinished;
    transfer::TransferController *m_controller = nullptr;
    Phase m_phase = Phase::Read;
    bool m_verify = false;
    std::u16string m_data;
    std::array<std::u16string, model::PARAM_COUNT> m_params;
    DeviceResult m_result;
};

} // namespace sg::cli
