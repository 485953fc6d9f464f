#pragma once

#include "protocol/serial_link.h"
#include "remote/byte_stream.h"
#include "remote/remote_address.h"
#include "remote/rfc2217_session.h"
#include "transfer/ticker.h"

#include <functional>
#include <memory>

namespace sg::remote {

// Makes the periodic timer the link measures its waits with.
using TimerFactory =
    std::function<std::unique_ptr<transfer::Ticker>(int periodMs, std::function<void()> onTick)>;

// A serial port behind a network serial server, opened by its address
// (rfc2217://HOST:PORT or socket://HOST:PORT). Frames sent before the server is ready
// wait for it, so a transfer's pacing starts at once; every wait is bounded, so a server
// that never answers fails the transfer before its first reply is due.
class NetworkLink : public protocol::SerialLink, private StreamListener
{
public:
    static constexpr int STEP_MS = 100;
    static constexpr int CONNECT_LIMIT_MS = 1000;
    // How long the server has to confirm the line; a server that confirms nothing but
    // answers the negotiation is then trusted as it stands.
    static constexpr int CONFIRM_LIMIT_MS = 400;

    NetworkLink(std::unique_ptr<ByteStream> stream, const TimerFactory &makeTimer);
    ~NetworkLink() override;
    NetworkLink(const NetworkLink &) = delete;
    NetworkLink &operator=(const NetworkLink &) = delete;

    void setListener(protocol::SerialLinkListener *listener) override { m_listener = listener; }
    bool isOpen() const override { return m_state != State::Closed; }
    bool open(const std::string &device) override;
    bool send(const model::ByteString &bytes) override;
    model::ByteString takeInput() override;
    void close() override;
    std::string lastError() const override { return m_lastError; }

private:
    enum class State
    {
        Closed,
        Connecting,
        Negotiating,
        Ready
    };

    void connected() override;
    void bytesArrived() override;
    void streamFailed(StreamFailure failure, const std::string &systemText) override;
    void step();
    void becomeReady();
    void fail(const std::string &reason);
    void hear(const model::ByteString &data);

    std::unique_ptr<ByteStream> m_stream;
    std::unique_ptr<transfer::Ticker> m_timer;
    protocol::SerialLinkListener *m_listener = nullptr;
    State m_state = State::Closed;
    RemoteAddress m_address;
    Rfc2217Session m_session;
    int m_waitedMs = 0;
    model::ByteString m_waiting; // frames sent before the server was ready
    model::ByteString m_input;
    std::string m_heardText; // the server's first words, shown when they are text
    bool m_heardBinary = false;
    std::string m_lastError;
};

} // namespace sg::remote
