#include "transfer/transfer_controller.h"

#include "model/hex_codec.h"
#include "model/normalize_fields.h"
#include "transfer/com_number.h"

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

TransferController::TransferController(TransferView &view, link::SerialLink &link, Ticker &ticker,
                                       Alerts &alerts)
    : m_view(view), m_link(link), m_ticker(ticker), m_alerts(alerts)
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

void TransferController::NormalizeFields()
{
    model::NormalizeFields(m_view, m_blocks);
}

void TransferController::start(Kind kind)
{
    if (m_state != TransferState::Idle || m_alertOpen)
        return;

    NormalizeFields();
    if (kind == Kind::Read)
        link::BuildReadParamsFrame(m_buffers);
    else
        link::BuildWriteDataFrame(m_blocks.data, m_buffers);

    const std::u16string comText = m_view.comText();
    const std::optional<int> number = ParseComNumber(comText);
    if (!number) {
        startFailed("COM box: '" + Printable(comText) + "' is not a port number");
        return;
    }
    if (!m_link.setPortNumber(*number) || (!m_link.isOpen() && !m_link.open()) || !sendFrame()) {
        startFailed(m_link.lastError());
        return;
    }
    m_state = kind == Kind::Read ? TransferState::ReadCheckParams : TransferState::StoreSendParams;
    m_ticker.start();
    DisableTransferButtons();
}

void TransferController::startFailed(const std::string &detail)
{
    // Left open, the next start would skip the open and talk to the old port.
    m_link.close();
    m_alertOpen = true;
    m_alerts.critical(COM_ERROR_TEXT, detail);
    m_alertOpen = false;
}

void TransferController::tick()
{
    // While a failure's message box is open the transfer is already ending.
    if (m_alertOpen)
        return;
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
    link::BuildWriteParamsFrame(m_blocks.params, m_buffers);
    if (!sendFrame()) {
        failTransfer(false, m_link.lastError());
        return;
    }
    m_state = TransferState::StoreFinish;
}

void TransferController::checkParamsReply()
{
    if (!link::IsReplyComplete(m_buffers)) {
        failTransfer(true, {});
        return;
    }
    const link::Payload payload = link::ReplyPayload(m_buffers);
    for (std::size_t i = 0; i < model::PARAM_COUNT; ++i)
        m_view.setParamText(i, model::ByteToHex(payload[i]));
    // Kept here rather than read back from box 7, which a focus change may rewrite.
    m_deviceLength = payload[model::LENGTH_PARAM_INDEX];

    m_state = TransferState::ReadCheckData;
    link::BuildReadDataFrame(m_buffers);
    if (!sendFrame())
        failTransfer(false, m_link.lastError());
}

void TransferController::checkDataReply()
{
    if (!link::IsReplyComplete(m_buffers)) {
        failTransfer(true, {});
        return;
    }
    std::u16string text;
    for (const std::uint8_t byte : link::ReplyPayload(m_buffers))
        text += model::ByteToHex(byte);
    text.resize(std::min(text.size(), 2 * std::size_t{m_deviceLength}));
    m_view.setDataText(text);
    EnableTransferButtons();
    FinishTransfer();
}

void TransferController::finishStore()
{
    FinishTransfer();
    EnableTransferButtons();
    NormalizeFields();
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
    link::AppendReceived(m_buffers, bytes);
}

void TransferController::bytesArrived()
{
    takeWaitingInput();
}

void TransferController::deviceLost()
{
    if (m_state == TransferState::Idle || m_alertOpen)
        return;
    failTransfer(false, m_link.lastError());
}

void TransferController::failTransfer(bool noResponse, const std::string &detail)
{
    // No tick may examine the reply again while the box waits for the user.
    m_ticker.stop();
    m_alertOpen = true;
    if (noResponse)
        m_alerts.warning(NO_RESPONSE_TEXT, detail);
    else
        m_alerts.critical(COM_ERROR_TEXT, detail);
    m_alertOpen = false;
    EnableTransferButtons();
    FinishTransfer();
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
