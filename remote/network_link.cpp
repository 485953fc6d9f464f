#include "remote/network_link.h"

#include "model/text.h"

#include <utility>

namespace sg::remote {

namespace {

std::string Seconds(int ms)
{
    return std::to_string(ms / 1000) + " s";
}

} // namespace

NetworkLink::NetworkLink(std::unique_ptr<ByteStream> stream,
                         const transfer::TickerFactory &makeTimer)
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
    m_session = Rfc2217Session("sgsetup " SG_VERSION); // for a server that asks who we are
    m_waitedMs = 0;
    m_lineAsked = false;
    m_heardText.clear();
    m_heardBinary = false;
    m_state = State::LookingUp;
    m_timer->start();
    m_stream->connectTo(m_address.host, m_address.port);
    return isOpen();
}

bool NetworkLink::send(const model::ByteString &bytes)
{
    if (m_state != State::Ready) {
        if (m_lastError.empty() || m_state != State::Closed)
            m_lastError = m_address.endpoint() + ": not connected";
        return false;
    }
    const bool rfc2217 = m_address.kind == RemoteAddress::Kind::Rfc2217;
    const model::ByteString wire = rfc2217 ? m_session.encode(bytes) : bytes;
    if (m_session.suspended()) {
        m_held.insert(m_held.end(), wire.begin(), wire.end());
        return true;
    }
    write(wire);
    return isOpen();
}

// What the stream holds counts too: a modal loop on Windows runs the transfer's ticks but
// not the stream's notifications.
model::ByteString NetworkLink::takeInput()
{
    if (m_state == State::Ready)
        absorb(m_stream->takeInput());
    return std::exchange(m_input, {});
}

void NetworkLink::close()
{
    if (m_state == State::Closed)
        return;
    m_state = State::Closed;
    m_timer->stop();
    m_stream->close();
    m_session = Rfc2217Session(); // frees whatever the server made it hold
    m_held.clear();
    m_input.clear();
}

void NetworkLink::lookedUp()
{
    if (m_state != State::LookingUp)
        return;
    m_state = State::Connecting;
    m_waitedMs = 0;
}

void NetworkLink::connected()
{
    m_waitedMs = 0;
    m_quietMs = 0;
    if (m_address.kind == RemoteAddress::Kind::Raw) {
        m_state = State::Settling;
        return;
    }
    m_state = State::Negotiating;
    m_stream->write(m_session.greeting());
}

void NetworkLink::bytesArrived()
{
    if (absorb(m_stream->takeInput()) && m_listener)
        m_listener->bytesArrived();
}

// True when the device's bytes were added to the input.
bool NetworkLink::absorb(model::ByteString bytes)
{
    if (m_state == State::Closed)
        return false;
    if (m_address.kind == RemoteAddress::Kind::Rfc2217) {
        model::ByteString data;
        model::ByteString reply;
        m_session.receive(bytes, data, reply);
        if (!reply.empty())
            m_stream->write(reply);
        if (!m_session.failure().empty()) {
            fail(m_address.endpoint() + ": " + m_session.failure());
            return false;
        }
        // The line's own wait starts once it has been asked for.
        if (m_session.lineAsked() && !std::exchange(m_lineAsked, true))
            m_waitedMs = 0;
        bytes = std::move(data);
    }
    hear(bytes);
    if (m_state != State::Ready) {
        if (!bytes.empty())
            m_quietMs = 0;
        if (m_state == State::Negotiating && m_lineAsked && m_session.lineConfirmed())
            becomeReady();
        return false;
    }
    if (!m_session.suspended() && !m_held.empty())
        write(std::exchange(m_held, {}));
    if (bytes.empty() || !isOpen())
        return false;
    m_input.insert(m_input.end(), bytes.begin(), bytes.end());
    return true;
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
             (m_heardText.empty() || m_heardBinary
                  ? ""
                  : " (it said: " + std::string(model::Trimmed(m_heardText)) + ")"));
        return;
    case StreamFailure::Other:
        fail(endpoint + ": " + systemText);
        return;
    }
}

void NetworkLink::step()
{
    m_waitedMs += STEP_MS;
    m_quietMs += STEP_MS;
    const std::string endpoint = m_address.endpoint();
    switch (m_state) {
    case State::LookingUp:
        if (m_waitedMs >= LOOKUP_LIMIT_MS)
            fail(endpoint + ": could not look up '" + m_address.host + "' within " +
                 Seconds(LOOKUP_LIMIT_MS));
        return;
    case State::Connecting:
        if (m_waitedMs >= CONNECT_LIMIT_MS)
            fail(endpoint + ": no connection within " + Seconds(CONNECT_LIMIT_MS) +
                 ": is the server reachable?");
        return;
    case State::Negotiating:
        stepNegotiating();
        return;
    case State::Settling:
        if (m_quietMs >= QUIET_MS || m_waitedMs >= SETTLE_LIMIT_MS)
            becomeReady();
        return;
    case State::Closed:
    case State::Ready:
        return;
    }
}

// No frame goes to a line nobody set: a server that does not take the option fails.
void NetworkLink::stepNegotiating()
{
    if (m_waitedMs < CONFIRM_LIMIT_MS)
        return;
    if (m_lineAsked)
        becomeReady();
    else if (m_session.heardFromServer())
        fail(m_address.endpoint() +
             ": the server did not agree to RFC 2217 (the COM port option): for a raw TCP "
             "port, use socket://");
    else
        fail(m_address.endpoint() +
             ": the server said nothing after the connection: is this an RFC 2217 port? For "
             "a raw TCP port, use socket://");
}

void NetworkLink::becomeReady()
{
    m_state = State::Ready;
    m_timer->stop();
    // What the server still holds from the device is not the answer to the first frame.
    if (m_address.kind == RemoteAddress::Kind::Rfc2217)
        write(Rfc2217Session::PurgeRequest());
    if (isOpen() && m_listener)
        m_listener->linkReady();
}

void NetworkLink::write(const model::ByteString &wire)
{
    if (!m_stream->write(wire))
        fail(m_address.endpoint() + ": the connection does not take more bytes");
}

// The last words the server said, as one line.
void NetworkLink::hear(const model::ByteString &data)
{
    constexpr std::size_t MOST = 80;
    for (const std::uint8_t byte : data) {
        // Line ends become one space between lines.
        if (byte == '\r' || byte == '\n') {
            if (!m_heardText.empty() && m_heardText.back() != ' ')
                m_heardText += ' ';
        } else {
            m_heardBinary = m_heardBinary || byte < 0x20 || byte > 0x7E;
            m_heardText += static_cast<char>(byte);
        }
        if (m_heardText.size() > MOST)
            m_heardText.erase(0, m_heardText.size() - MOST);
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
