#pragma once

#include "model/blocks.h"
#include "protocol/frames.h"
#include "protocol/port_catalog.h"
#include "protocol/serial_link.h"
#include "transfer/alerts.h"
#include "transfer/ticker.h"
#include "transfer/transfer_listener.h"
#include "transfer/transfer_state.h"
#include "transfer/transfer_view.h"

#include <string>
#include <string_view>

namespace sg::transfer {

// Read and Store: two requests each, paced by the ticker, on the event loop only.
class TransferController : public protocol::SerialLinkListener
{
public:
    TransferController(TransferView &view, const protocol::PortLister &ports,
                       protocol::SerialLink &link, Ticker &ticker, Alerts &alerts);
    ~TransferController() override;
    TransferController(const TransferController &) = delete;
    TransferController &operator=(const TransferController &) = delete;

    // Who hears of each transfer's end; may be null.
    void setListener(TransferListener *listener) { m_listener = listener; }

    void windowOpened();
    void startRead();
    void startStore();
    void tick();
    // An entry box lost the focus.
    void entryBoxLeft();

    void bytesArrived() override;
    void deviceLost() override;

    TransferState state() const { return m_state; }
    const model::Blocks &blocks() const { return m_blocks; }
    const protocol::LinkBuffers &buffers() const { return m_buffers; }

private:
    enum class Kind
    {
        Read,
        Store
    };

    void start(Kind kind);
    void sendNextParamsFrame();
    void checkParamsReply();
    void checkDataReply();
    void finishStore();
    bool sendFrame();
    void takeWaitingInput();
    void endWithNoResponse();
    void endWithComError(const std::string &detail);
    void EnableTransferButtons();
    void DisableTransferButtons();
    void FinishTransfer();
    void tellEnd(TransferEnd end, const std::string &reason);

    TransferView &m_view;
    const protocol::PortLister &m_ports;
    protocol::SerialLink &m_link;
    Ticker &m_ticker;
    Alerts &m_alerts;
    TransferListener *m_listener = nullptr;

    model::Blocks m_blocks;
    protocol::LinkBuffers m_buffers;
    TransferState m_state = TransferState::Idle;
    bool m_reading = false;          // the running or last transfer is a Read
    std::uint8_t m_deviceLength = 0; // the length byte of the read's own parameter reply
    std::string m_portName;          // the port as the catalog names it, for detail lines
};

} // namespace sg::transfer
