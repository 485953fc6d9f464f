#pragma once

#include "model/blocks.h"
#include "protocol/frames.h"
#include "protocol/port_resolver.h"
#include "protocol/serial_link.h"
#include "transfer/ticker.h"
#include "transfer/transfer_events.h"
#include "transfer/transfer_state.h"

#include <memory>
#include <optional>

namespace sg::transfer {

// When a step may run before its tick (the command line's --fast): a read's once its reply
// is complete and the line has then been quiet for guardMs, a write's once its echo is back
// and settleMs have passed. The step is the one the tick runs, and the tick still comes if
// the early end does not.
struct EarlySteps
{
    int guardMs = 0;
    int settleMs = 0;
};

// One Read or Store on one port: two requests, paced by the ticker, on the event loop only.
class TransferEngine : public protocol::SerialLinkListener
{
public:
    TransferEngine(protocol::SerialLink &link, Ticker &ticker);
    ~TransferEngine() override;
    TransferEngine(const TransferEngine &) = delete;
    TransferEngine &operator=(const TransferEngine &) = delete;

    // Who hears of the transfer; may be null.
    void setEvents(TransferEvents *events) { m_events = events; }

    // A start that fails ends at once; a target without a device is not opened.
    void startRead(const protocol::Resolved &target);
    // blocks' parameters are read again at the first tick, so an edit made before it is
    // what is sent: they must outlive the transfer.
    void startStore(const protocol::Resolved &target, const model::Blocks &blocks);
    void tick();
    // The next transfer that succeeds leaves its port open for the one after it, which
    // must be on the same port: a read-back needs no second open, which some drivers
    // refuse while the first one's I/O drains.
    void keepPortAfterSuccess() { m_keepPort = true; }
    void runStepsEarly(const EarlySteps &steps, const TickerFactory &makeTicker);

    void bytesArrived() override;
    void deviceLost() override;
    void linkReady() override;

    TransferState state() const { return m_state; }
    // From the press to the end, including a network port's open before the first frame.
    bool busy() const { return m_state != TransferState::Idle || m_opening.has_value(); }
    const protocol::LinkBuffers &buffers() const { return m_buffers; }

private:
    void start(const protocol::Resolved &target, TransferState first);
    void sendNextParamsFrame();
    void checkParamsReply();
    void checkDataReply();
    bool sendFrame();
    void takeWaitingInput();
    void armEarlyStep();
    void stepEarly();
    void stopEarlySteps();
    void endWithNoResponse();
    void endWithComError(const std::string &reason);
    void end(TransferEnd how, const std::string &reason);
    void FinishTransfer(TransferEnd how);

    protocol::SerialLink &m_link;
    Ticker &m_ticker;
    TransferEvents *m_events = nullptr;

    const model::Blocks *m_storing = nullptr;
    protocol::LinkBuffers m_buffers;
    TransferState m_state = TransferState::Idle;
    std::optional<TransferState> m_opening; // the first state, while the port gets ready
    std::unique_ptr<Ticker> m_guard;        // with early steps: a read's quiet line
    std::unique_ptr<Ticker> m_settle;       // and a write's time to take it
    bool m_settling = false;
    bool m_reading = false;
    bool m_keepPort = false;
    model::Blocks m_read;   // what a Read has read so far
    std::string m_portName; // for detail lines
};

} // namespace sg::transfer
