#pragma once

#include "remote/byte_stream.h"
#include "win32/message_loop.h"
#include "win32/overlapped_io.h"

#include <winsock2.h>

#include <string>

namespace sg::win32 {

// ByteStream on Winsock 2. The lookup and the race of the addresses run on a helper thread
// of their own, since Windows 7 has no asynchronous lookup, and come back as APCs to this
// thread;
// reads and writes are overlapped, ended by completion routines that the message loop's
// alertable wait runs, as the comm link's are. The listener hears from the loop only.
class TcpStream : public remote::ByteStream
{
public:
    explicit TcpStream(MessageLoop &loop);
    ~TcpStream() override;
    TcpStream(const TcpStream &) = delete;
    TcpStream &operator=(const TcpStream &) = delete;

    void setListener(remote::StreamListener *listener) override { m_listener = listener; }
    void connectTo(const std::string &host, std::uint16_t port) override;
    bool write(const model::ByteString &bytes) override;
    model::ByteString takeInput() override;
    void close() override;

private:
    struct Connect;

    static DWORD WINAPI ConnectThread(void *connect);
    static void CALLBACK LookedUp(ULONG_PTR connect);
    static void CALLBACK ConnectDone(ULONG_PTR connect);
    void connectDone(Connect &connect);
    bool startReceive();
    void receiveDone(DWORD error, DWORD count, const model::ByteString &bytes);
    void sendDone(DWORD error);
    void fail(remote::StreamFailure failure, DWORD code);
    void tell();
    void closeSocket();

    remote::StreamListener *m_listener = nullptr;
    bool m_started = false; // Winsock, for this stream's life
    SOCKET m_socket = INVALID_SOCKET;
    Connect *m_connect = nullptr;
    OverlappedIo m_io;
    model::ByteString m_input;
    // What the listener has not heard yet.
    bool m_lookedUp = false;
    bool m_connected = false;
    bool m_arrived = false;
    bool m_failed = false;
    remote::StreamFailure m_failure = remote::StreamFailure::Other;
    std::string m_failureText;
    LoopNotice m_notice;
};

} // namespace sg::win32
