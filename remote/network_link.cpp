#include "remote/network_link.h"

#include <utility>

namespace sg::remote {

namespace {

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

NetworkLink::NetworkLink(std::unique_ptr<ByteStream> stream, const TimerFactory &makeTimer)
    : m_stream(std::move(stream)), m_timer(makeTimer(STEP_MS, [this] { step(); }))
{
    m_stream->setListener(this);
}

NetworkLink::~NetworkLink()
{
    m_stream->setListener(nullptr);
}

bool NetworkLink::open(const std::string &device)
{
    close();
    std::string error;
    const std::optional<RemoteAddress> address = ParseRemoteAddress(device, error);
    if (!address) {
        m_lastError = error;
        return false;
    }
    m_address = *address;
    m_session = Rfc2217Session();
    m_waitedMs = 0;
    m_heardText.clear();
    m_heardBinary = false;
    m_state = State::Connecting;
    m_timer->start();
    m_stream->connectTo(m_address.host, m_address.port);
    return isOpen();
}

bool NetworkLink::send(const model::ByteString &bytes)
{
    if (m_state == State::Closed) {
        if (m_lastError.empty())
            m_lastError = m_address.endpoint() + ": not connected";
        return false;
    }
    const model::ByteString wire =
        m_address.kind == RemoteAddress::Kind::Rfc2217 ? Rfc2217Session::Escape(bytes) : bytes;
    if (m_state != State::Ready) {
        m_waiting.insert(m_waiting.end(), wire.begin(), wire.end());
        return true;
    }
    if (!m_stream->write(wire)) {
        fail(m_address.endpoint() + ": the connection does not take more bytes");
        return false;
    }
    return true;
}

model::ByteString NetworkLink::takeInput()
{
    return std::exchange(m_input, {});
}

void NetworkLink::close()
{
    if (m_state == State::Closed)
        return;
    m_state = State::Closed;
    m_timer->stop();
    m_stream->close();
    m_waiting.clear();
    m_input.clear();
}

void NetworkLink::connected()
{
    if (m_address.kind == RemoteAddress::Kind::Raw) {
        becomeReady();
        return;
    }
    m_state = State::Negotiating;
    m_waitedMs = 0;
    m_stream->write(m_session.greeting());
}

void NetworkLink::bytesArrived()
{
    model::ByteString bytes = m_stream->takeInput();
    if (m_address.kind == RemoteAddress::Kind::Rfc2217) {
        model::ByteString data;
        model::ByteString reply;
        m_session.receive(bytes, data, reply);
        if (!reply.empty())
            m_stream->write(reply);
        if (!m_session.failure().empty()) {
            fail(m_address.endpoint() + ": " + m_session.failure());
            return;
        }
        if (m_state == State::Negotiating && m_session.lineConfirmed())
            becomeReady();
        bytes = std::move(data);
    }
    if (bytes.empty())
        return;
    hear(bytes);
    m_input.insert(m_input.end(), bytes.begin(), bytes.end());
    if (m_listener)
        m_listener->bytesArrived();
}

void NetworkLink::streamFailed(StreamFailure failure, const std::string &systemText)
{
    const std::string endpoint = m_address.endpoint();
    switch (failure) {
    case StreamFailure::UnknownHost:
        fail(endpoint + ": unknown host '" + m_address.host + "' (" + systemText + ")");
        return;
    case StreamFailure::Refused:
        fail(endpoint + ": connection refused: is the serial server running?");
        return;
    case StreamFailure::Closed:
        // A server that turns a client away says why first, e.g. that the port is in use.
        fail(endpoint + ": the server closed the connection" +
             (m_heardText.empty() || m_heardBinary ? ""
                                                   : " (it said: " + Trimmed(m_heardText) + ")"));
        return;
    case StreamFailure::Other:
        fail(endpoint + ": " + systemText);
        return;
    }
}

void NetworkLink::step()
{
    m_waitedMs += STEP_MS;
    if (m_state == State::Connecting && m_waitedMs >= CONNECT_LIMIT_MS) {
        fail(m_address.endpoint() + ": no connection within 1 s: is the server reachable?");
    } else if (m_state == State::Negotiating && m_waitedMs >= CONFIRM_LIMIT_MS) {
        if (m_session.heardFromServer())
            becomeReady();
        else
            fail(m_address.endpoint() +
                 ": the server said nothing after the connection: is this an RFC 2217 "
                 "port? For a raw TCP port, use socket://");
    }
}

void NetworkLink::becomeReady()
{
    m_state = State::Ready;
    m_timer->stop();
    if (!m_waiting.empty() && !m_stream->write(std::exchange(m_waiting, {})))
        fail(m_address.endpoint() + ": the connection does not take more bytes");
}

void NetworkLink::hear(const model::ByteString &data)
{
    constexpr std::size_t MOST = 80;
    for (const std::uint8_t byte : data) {
        // Line ends become one space between lines.
        if (byte == '\r' || byte == '\n') {
            if (!m_heardText.empty() && m_heardText.back() != ' ' && m_heardText.size() < MOST)
                m_heardText += ' ';
            continue;
        }
        m_heardBinary = m_heardBinary || byte < 0x20 || byte > 0x7E;
        if (m_heardText.size() < MOST)
            m_heardText += static_cast<char>(byte);
    }
}

void NetworkLink::fail(const std::string &reason)
{
    m_lastError = reason;
    close();
    if (m_listener)
        m_listener->deviceLost();
}

} // namespace sg::remote
