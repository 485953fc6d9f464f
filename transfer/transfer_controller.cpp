#include "transfer/transfer_controller.h"

#include "model/hex_codec.h"
#include "model/normalize_fields.h"

#include <algorithm>

namespace sg::transfer {

namespace {

// The COM text as it can be shown in a detail line.
std::string Printable(std::u16string_view text)
{
    std::string out;
    for (const char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

} // namespace

TransferController::TransferController(TransferView &view, const protocol::PortLister &ports,
                                       protocol::SerialLink &link, Ticker &ticker, Alerts &alerts)
    : m_view(view), m_ports(ports), m_link(link), m_ticker(ticker), m_alerts(alerts)
{
    m_link.setListener(this);
}

TransferController::~TransferController()
{
    m_link.setListener(nullptr);
}

void TransferController::windowOpened()
{
    m_state = TransferState::Idle;
}

void TransferController::startRead()
{
    start(Kind::Read);
}

void TransferController::startStore()
{
    start(Kind::Store);
}

void TransferController::entryBoxLeft()
{
    model::NormalizeFields(m_view, m_blocks);
}

void TransferController::start(Kind kind)
{
    if (m_state != TransferState::Idle)
        return;

    model::NormalizeFields(m_view, m_blocks);
    m_reading = kind == Kind::Read;
    if (kind == Kind::Read)
        protocol::BuildReadParamsFrame(m_buffers);
    else
        protocol::BuildWriteDataFrame(m_blocks.data, m_buffers);

    const std::u16string comText = m_view.comText();
    const std::optional<int> number = protocol::ParseComNumber(comText);
    if (!number) {
        endWithComError("COM box: '" + Printable(comText) + "' is not a port number");
        return;
    }
    const protocol::PortCatalog catalog = m_ports.catalog();
    const std::optional<protocol::PortEntry> port = catalog.find(*number);
    if (!port) {
        endWithComError(protocol::MissingPortText("COM" + std::to_string(*number), catalog));
        return;
    }
    m_portName = port->label;
    if ((!m_link.isOpen() && !m_link.open(port->device)) || !sendFrame()) {
        endWithComError(m_link.lastError());
        return;
    }
    m_state = kind == Kind::Read ? TransferState::ReadCheckParams : TransferState::StoreSendParams;
    m_ticker.start();
    DisableTransferButtons();
}

void TransferController::tick()
{
    takeWaitingInput();

    switch (m_state) {
    case TransferState::Idle:
        m_ticker.stop();
        break;
    case TransferState::StoreSendParams:
        sendNextParamsFrame();
        break;
    case TransferState::ReadCheckParams:
        checkParamsReply();
        break;
    case TransferState::ReadCheckData:
        checkDataReply();
        break;
    case TransferState::StoreFinish:
        finishStore();
        break;
    }
}

void TransferController::sendNextParamsFrame()
{
    protocol::BuildWriteParamsFrame(m_blocks.params, m_buffers);
    if (!sendFrame()) {
        endWithComError(m_link.lastError());
        return;
    }
    m_state = TransferState::StoreFinish;
}

void TransferController::checkParamsReply()
{
    if (!protocol::IsReplyComplete(m_buffers)) {
        endWithNoResponse();
        return;
    }
    const protocol::Payload payload = protocol::ReplyPayload(m_buffers);
    for (std::size_t i = 0; i < model::PARAM_COUNT; ++i)
        m_view.setParamText(i, model::ByteToHex(payload[i]));
    // Kept here rather than read back from box 7, which a focus change may rewrite.
    m_deviceLength = payload[model::LENGTH_PARAM_INDEX];

    m_state = TransferState::ReadCheckData;
    protocol::BuildReadDataFrame(m_buffers);
    if (!sendFrame())
        endWithComError(m_link.lastError());
}

void TransferController::checkDataReply()
{
    if (!protocol::IsReplyComplete(m_buffers)) {
        endWithNoResponse();
        return;
    }
    std::u16string text = model::BytesToHex(protocol::ReplyPayload(m_buffers));
    text.resize(std::min(text.size(), 2 * std::size_t{m_deviceLength}));
    m_view.setDataText(text);
    EnableTransferButtons();
    FinishTransfer();
    tellEnd(TransferEnd::Ok, {});
}

void TransferController::finishStore()
{
    FinishTransfer();
    EnableTransferButtons();
    model::NormalizeFields(m_view, m_blocks);
    tellEnd(TransferEnd::Ok, {});
}

bool TransferController::sendFrame()
{
    return m_link.send(m_buffers.txFrame);
}

void TransferController::takeWaitingInput()
{
    if (!m_link.isOpen())
        return;
    const model::ByteString bytes = m_link.takeInput();
    protocol::AppendReceived(m_buffers, bytes);
}

void TransferController::bytesArrived()
{
    takeWaitingInput();
}

void TransferController::deviceLost()
{
    if (m_state == TransferState::Idle)
        return;
    endWithComError(m_link.lastError());
}

// A failure ends the transfer before it speaks, so nothing can reach it while the box is up.
void TransferController::endWithNoResponse()
{
    EnableTransferButtons();
    FinishTransfer();
    const std::string cameBack = protocol::DescribeShortReply(m_portName, m_buffers);
    m_alerts.warning(NO_RESPONSE_TEXT, cameBack);
    tellEnd(TransferEnd::NoResponse, cameBack);
}

void TransferController::endWithComError(const std::string &detail)
{
    EnableTransferButtons();
    FinishTransfer();
    m_alerts.critical(COM_ERROR_TEXT, detail);
    tellEnd(TransferEnd::ComError, detail);
}

void TransferController::tellEnd(TransferEnd end, const std::string &reason)
{
    if (!m_listener)
        return;
    TransferOutcome outcome{end, reason, m_reading, {}, {}};
    if (m_reading && end == TransferEnd::Ok)
        outcome.blocks = model::ReadBlocks(m_view);
    if (end == TransferEnd::NoResponse)
        outcome.received = m_buffers.rxBuffer;
    m_listener->transferEnded(outcome);
}

void TransferController::EnableTransferButtons()
{
    m_view.setReadEnabled(true);
    m_view.setStoreEnabled(true);
}

void TransferController::DisableTransferButtons()
{
    m_view.setReadEnabled(false);
    m_view.setStoreEnabled(false);
}

void TransferController::FinishTransfer()
{
    m_ticker.stop();
    m_state = TransferState::Idle;
    if (m_link.isOpen())
        m_link.close();
}

} // namespace sg::transfer
