#pragma once

#include "protocol/serial_link.h"
#include "win32/message_loop.h"
#include "win32/unique_handle.h"

#include <windows.h>

#include <array>
#include <string>

namespace sg::win32 {

// The serial link on the comm API: one overlapped one-byte read always pending while the
// port is open, its completion waited for in the message loop.
class CommLink : public protocol::SerialLink
{
public:
    explicit CommLink(MessageLoop &loop);
    ~CommLink() override;
    CommLink(const CommLink &) = delete;
    CommLink &operator=(const CommLink &) = delete;

    void setListener(protocol::SerialLinkListener *listener) override;
    bool isOpen() const override;
    bool open(const std::string &device) override;
    bool send(const model::ByteString &bytes) override;
    model::ByteString takeInput() override;
    void close() override;
    std::string lastError() const override;

private:
    bool configure();
    bool fail(DWORD code);
    void startRead();
    // Takes a finished read's bytes; false while it is still pending or when it failed.
    bool collectRead(DWORD &error);
    void takeQueued();
    void readSignalled();

    MessageLoop &m_loop;
    protocol::SerialLinkListener *m_listener = nullptr;
    UniqueHandle m_port;
    UniqueHandle m_readEvent;
    UniqueHandle m_writeEvent;
    UniqueHandle m_drainEvent;
    OVERLAPPED m_read{};
    bool m_reading = false;
    std::array<std::uint8_t, 1024> m_chunk{};
    model::ByteString m_input;
    std::string m_name; // COMn, as the user numbers it
    std::string m_lastError;
};

} // namespace sg::win32
