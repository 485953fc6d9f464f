#pragma once

#include "protocol/serial_link.h"
#include "remote/byte_stream.h"
#include "remote/remote_address.h"
#include "remote/rfc2217_session.h"
#include "transfer/ticker.h"

#include <functional>
#include <memory>

namespace sg::remote {

// A serial port behind a network serial server, opened by its address
// (rfc2217://HOST:PORT or socket://HOST:PORT). Its open is the lookup, the connection and
// the line's set-up, each with its own bound and words; the link is ready only after them,
// and tells its listener so. What the server sends before then (a banner, bytes it held
// from the device) is not the device's answer and is dropped.
class NetworkLink : public protocol::SerialLink, private StreamListener
{
public:
    static constexpr int STEP_MS = 100;
    static constexpr int LOOKUP_LIMIT_MS = 5000;
    // One lost SYN is resent after 1 s, and Windows retries a refusal for about 2 s.
    static constexpr int CONNECT_LIMIT_MS = 3000;
    // How long the server has to agree to the COM port option, and then to confirm the
    // line; a server that agrees but confirms nothing is then trusted as it stands.
    static constexpr int CONFIRM_LIMIT_MS = 1000;
    // A raw port is ready once the server has said nothing for this long: a banner comes
    // at the connection, across a relay up to a round trip later.
    static constexpr int QUIET_MS = 500;
    // A raw server that never falls quiet is not waited for longer than this.
    static constexpr int SETTLE_LIMIT_MS = 2000;

    NetworkLink(std::unique_ptr<ByteStream> stream, const transfer::TickerFactory &makeTimer);
    ~NetworkLink() override;
    NetworkLink(const NetworkLink &) = delete;
    NetworkLink &operator=(const NetworkLink &) = delete;

    void setListener(protocol::SerialLinkListener *listener) override { m_listener = listener; }
    bool isOpen() const override { return m_state != State::Closed; }
    bool isReady() const override { return m_state == State::Ready; }
    bool open(const std::string &device) override;
    bool send(const model::ByteString &bytes) override;
    model::ByteString takeInput() override;
    void close() override;
    std::string lastError() const override { return m_lastError; }
    // A server that is not there is said by the link itself, with its own words.
    bool portMissing() const override { return false; }

private:
    enum class State
    {
        Closed,
        LookingUp,
        Connecting,
        Negotiating, // RFC 2217: the option and the line
        Settling,    // raw: until the server falls quiet
        Ready
    };

    void lookedUp() override;
    void connected() override;
    void bytesArrived() override;
    void streamFailed(StreamFailure failure, const std::string &systemText) override;
    bool absorb(model::ByteString bytes);
    void step();
    void stepNegotiating();
    void becomeReady();
    void write(const model::ByteString &wire);
    void fail(const std::string &reason);
    void hear(const model::ByteString &data);

    std::unique_ptr<ByteStream> m_stream;
    std::unique_ptr<transfer::Ticker> m_timer;
    protocol::SerialLinkListener *m_listener = nullptr;
    State m_state = State::Closed;
    RemoteAddress m_address;
    Rfc2217Session m_session;
    int m_waitedMs = 0; // in the current state
    int m_quietMs = 0;  // since the server last sent, while settling
    bool m_lineAsked = false;
    model::ByteString m_held; // frames the server asked the client to hold
    model::ByteString m_input;
    std::string m_heardText; // the server's first words, shown when they are text
    bool m_heardBinary = false;
    std::string m_lastError;
};

} // namespace sg::remote
