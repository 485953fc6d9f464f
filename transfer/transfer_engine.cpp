#include "transfer/transfer_engine.h"

#include <algorithm>
#include <utility>

namespace sg::transfer {

TransferEngine::TransferEngine(protocol::SerialLink &link, Ticker &ticker)
    : m_link(link), m_ticker(ticker)
{
    m_link.setListener(this);
}

TransferEngine::~TransferEngine()
{
    m_link.setListener(nullptr);
}

void TransferEngine::startRead(const protocol::Resolved &target)
{
    if (busy())
        return;
    m_reading = true;
    protocol::BuildReadParamsFrame(m_buffers);
    start(target, TransferState::ReadCheckParams);
}

void TransferEngine::startStore(const protocol::Resolved &target, const model::Blocks &blocks)
{
    if (busy())
        return;
    m_reading = false;
    m_storing = &blocks;
    protocol::BuildWriteDataFrame(blocks.data, m_buffers);
    start(target, TransferState::StoreSendParams);
}

void TransferEngine::start(const protocol::Resolved &target, TransferState first)
{
    if (target.port.device.empty()) {
        endWithComError(target.error);
        return;
    }
    m_portName = target.port.name;
    // What a kept port holds still belongs to the transfer before.
    if (m_link.isOpen())
        m_link.takeInput();
    if (!m_link.isOpen() && !m_link.open(target.port.device)) {
        endWithComError(protocol::LinkFailureText(target, m_link));
        return;
    }
    m_opening = first;
    if (m_link.isReady())
        linkReady();
}

// Open, send, then start the timer: the first period starts with the first frame, however
// long a network port took to get ready.
void TransferEngine::linkReady()
{
    if (!m_opening)
        return;
    const TransferState first = *std::exchange(m_opening, std::nullopt);
    if (!sendFrame()) {
        endWithComError(m_link.lastError());
        return;
    }
    m_state = first;
    m_ticker.start();
}

void TransferEngine::runStepsEarly(const EarlySteps &steps, const TickerFactory &makeTicker)
{
    m_guard = makeTicker(steps.guardMs, [this] { stepEarly(); });
    m_settle = makeTicker(steps.settleMs, [this] { stepEarly(); });
}

void TransferEngine::tick()
{
    stopEarlySteps();
    takeWaitingInput();
    // Only a loss closes the port under a transfer; the link may have found it before the
    // tick without having told of it yet.
    if (m_state != TransferState::Idle && !m_link.isOpen()) {
        endWithComError(m_link.lastError());
        return;
    }

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
        end(TransferEnd::Ok, {});
        break;
    }
}

void TransferEngine::sendNextParamsFrame()
{
    protocol::BuildWriteParamsFrame(m_storing->params, m_buffers);
    if (!sendFrame()) {
        endWithComError(m_link.lastError());
        return;
    }
    m_state = TransferState::StoreFinish;
}

void TransferEngine::checkParamsReply()
{
    if (!protocol::IsReplyComplete(m_buffers)) {
        endWithNoResponse();
        return;
    }
    m_read.params = protocol::ReplyPayload(m_buffers);
    if (m_events)
        m_events->paramsRead(m_read.params);

    m_state = TransferState::ReadCheckData;
    protocol::BuildReadDataFrame(m_buffers);
    if (!sendFrame())
        endWithComError(m_link.lastError());
}

void TransferEngine::checkDataReply()
{
    if (!protocol::IsReplyComplete(m_buffers)) {
        endWithNoResponse();
        return;
    }
    const protocol::Payload payload = protocol::ReplyPayload(m_buffers);
    // The device's own length byte, not what a box shows now.
    const std::size_t length =
        std::min<std::size_t>(payload.size(), m_read.params[model::LENGTH_PARAM_INDEX]);
    m_read.data.assign(payload.begin(), payload.begin() + std::ptrdiff_t(length));
    end(TransferEnd::Ok, {});
}

bool TransferEngine::sendFrame()
{
    return m_link.send(m_buffers.txFrame);
}

void TransferEngine::takeWaitingInput()
{
    if (!m_link.isOpen())
        return;
    const model::ByteString bytes = m_link.takeInput();
    protocol::AppendReceived(m_buffers, bytes);
    if (!bytes.empty())
        armEarlyStep();
}

// Each byte after a complete reply starts the guard again, so a stray one is seen.
void TransferEngine::armEarlyStep()
{
    if (!m_guard)
        return;
    const std::size_t heard = m_buffers.rxBuffer.size() + m_buffers.rxDropped;
    const std::size_t echo = m_buffers.txFrame.size();
    if (m_state == TransferState::ReadCheckParams || m_state == TransferState::ReadCheckData) {
        if (heard >= echo + protocol::ANSWER_BYTES) {
            m_guard->stop();
            m_guard->start();
        }
    } else if (m_state != TransferState::Idle && heard >= echo &&
               !std::exchange(m_settling, true)) {
        m_settle->start();
    }
}

// The tick's own step, taken early; the next period starts with the frame it sends.
void TransferEngine::stepEarly()
{
    m_ticker.stop();
    tick();
    if (m_state != TransferState::Idle)
        m_ticker.start();
}

void TransferEngine::stopEarlySteps()
{
    if (!m_guard)
        return;
    m_guard->stop();
    m_settle->stop();
    m_settling = false;
}

void TransferEngine::bytesArrived()
{
    takeWaitingInput();
}

void TransferEngine::deviceLost()
{
    if (!busy())
        return;
    endWithComError(m_link.lastError());
}

void TransferEngine::endWithNoResponse()
{
    end(TransferEnd::NoResponse, protocol::DescribeShortReply(m_portName, m_buffers));
}

void TransferEngine::endWithComError(const std::string &reason)
{
    end(TransferEnd::ComError, reason);
}

// A failure ends the transfer before it is told, so nothing can reach it while a message
// box is up.
void TransferEngine::end(TransferEnd how, const std::string &reason)
{
    TransferOutcome outcome;
    outcome.end = how;
    outcome.reason = reason;
    outcome.read = m_reading;
    if (how == TransferEnd::Ok && m_reading)
        outcome.blocks = m_read;
    if (how == TransferEnd::NoResponse)
        outcome.received = m_buffers.rxBuffer;
    if (m_events)
        m_events->transferEnding(outcome);
    FinishTransfer(how);
    m_storing = nullptr;
    if (m_events)
        m_events->transferEnded(outcome);
}

void TransferEngine::FinishTransfer(TransferEnd how)
{
    m_ticker.stop();
    stopEarlySteps();
    m_state = TransferState::Idle;
    m_opening.reset();
    const bool keep = std::exchange(m_keepPort, false) && how == TransferEnd::Ok;
    if (m_link.isOpen() && !keep)
        m_link.close();
}

} // namespace sg::transfer
