#pragma once

#include "protocol/serial_link.h"
#include "win32/comm_api.h"
#include "win32/message_loop.h"
#include "win32/overlapped_io.h"

#include <windows.h>

#include <string>

namespace sg::win32 {

// The serial link on the comm API. One read is always pending while the port is open and
// every write is one of its own, each ended by a completion routine that the message
// loop's alertable wait runs: any number of ports share the one thread, nothing polls, and
// nothing waits for a driver that never completes.
class CommLink : public protocol::SerialLink
{
public:
    explicit CommLink(MessageLoop &loop, CommApi &api = SystemCommApi());
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
    bool portMissing() const override { return m_portMissing; }

private:
    bool startRead();
    void ioDone(OverlappedIo::Kind kind, DWORD error, DWORD count, const model::ByteString &bytes);
    void readDone(DWORD error, DWORD count, const model::ByteString &bytes);
    void readAgain();
    void writeDone(DWORD error, DWORD count, std::size_t size);
    void lose(const std::string &reason);
    void closePort();
    void tell();

    MessageLoop &m_loop;
    CommApi &m_api;
    protocol::SerialLinkListener *m_listener = nullptr;
    HANDLE m_port = INVALID_HANDLE_VALUE;
    OverlappedIo m_io;
    model::ByteString m_input;
    bool m_arrived = false; // bytes came that the listener has not heard of
    bool m_lost = false;    // the port failed and the listener has not heard of it
    LoopNotice m_notice;
    std::string m_name; // COMn, as the user numbers it
    std::string m_lastError;
    bool m_portMissing = false;
};

} // namespace sg::win32
