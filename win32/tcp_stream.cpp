#include "win32/tcp_stream.h"

#include "win32/address_race.h"
#include "win32/wide_text.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace sg::win32 {

namespace {

constexpr ULONG CHUNK_BYTES = 1024;
// Completion routines run per call to take the input, so that a modal loop, which runs
// the transfer's ticks but no alertable wait, still brings in what has come.
constexpr int MAX_DRAIN_ROUNDS = 64;
// ioctlsocket takes its command as a long, which the header's unsigned value overflows.
const long SET_NON_BLOCKING = static_cast<long>(FIONBIO);

// The race's winner as the stream uses it: blocking, and sending each frame at once.
SOCKET Connected(SOCKET socket)
{
    if (socket == INVALID_SOCKET)
        return socket;
    u_long blocking = 0;
    ioctlsocket(socket, SET_NON_BLOCKING, &blocking);
    // A frame must not wait for a delayed acknowledgement.
    const BOOL noDelay = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&noDelay),
               sizeof noDelay);
    return socket;
}

} // namespace

// The lookup and connect, owned by the helper thread until its APC runs here; the stream
// lets go of it by clearing owner, and the APC then closes what it made.
struct TcpStream::Connect
{
    TcpStream *owner = nullptr;
    std::wstring host;
    std::wstring port;
    HANDLE caller = nullptr; // the thread the APC goes to
    SOCKET socket = INVALID_SOCKET;
    bool lookupFailed = false;
    DWORD error = 0;
};

// One receive or send in flight; Winsock owns it until its completion routine runs.
struct TcpStream::PendingIo
{
    WSAOVERLAPPED overlapped{}; // first, so that the routine finds the rest
    TcpStream *owner = nullptr;
    model::ByteString bytes;
};

TcpStream::TcpStream(MessageLoop &loop) : m_loop(loop)
{
    WSADATA data{};
    m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

TcpStream::~TcpStream()
{
    close();
    m_loop.forget(this);
    if (m_started)
        WSACleanup();
}

void TcpStream::connectTo(const std::string &host, std::uint16_t port)
{
    close();
    auto *connect = new Connect{this, Widen(host), std::to_wstring(port)};
    const BOOL duplicated =
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(),
                        &connect->caller, 0, FALSE, DUPLICATE_SAME_ACCESS);
    const HANDLE thread =
        duplicated ? CreateThread(nullptr, 0, &ConnectThread, connect, 0, nullptr) : nullptr;
    if (!thread) {
        const DWORD code = GetLastError();
        if (connect->caller)
            CloseHandle(connect->caller);
        delete connect;
        fail(remote::StreamFailure::Other, code);
        return;
    }
    CloseHandle(thread);
    m_connect = connect;
}

// On the helper thread: it may block as long as the system takes, and touches nothing
// but its Connect, with a Winsock reference of its own.
DWORD WINAPI TcpStream::ConnectThread(void *parameter)
{
    auto *connect = static_cast<Connect *>(parameter);
    WSADATA data{};
    const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW *found = nullptr;
    if (const int code = GetAddrInfoW(connect->host.c_str(), connect->port.c_str(), &hints, &found);
        code != 0) {
        connect->lookupFailed = true;
        connect->error = static_cast<DWORD>(code);
    } else {
        QueueUserAPC(&LookedUp, connect->caller, reinterpret_cast<ULONG_PTR>(connect));
        connect->socket = Connected(RaceAddresses(SystemSocketApi(), found, connect->error));
    }
    if (found)
        FreeAddrInfoW(found);
    QueueUserAPC(&ConnectDone, connect->caller, reinterpret_cast<ULONG_PTR>(connect));
    if (started)
        WSACleanup();
    return 0;
}

// Runs before ConnectDone, which frees the Connect.
void CALLBACK TcpStream::LookedUp(ULONG_PTR parameter)
{
    auto *connect = reinterpret_cast<Connect *>(parameter);
    if (connect->owner) {
        connect->owner->m_lookedUp = true;
        connect->owner->notify();
    }
}

void CALLBACK TcpStream::ConnectDone(ULONG_PTR parameter)
{
    auto *connect = reinterpret_cast<Connect *>(parameter);
    if (connect->owner)
        connect->owner->connectDone(*connect);
    else if (connect->socket != INVALID_SOCKET)
        closesocket(connect->socket);
    CloseHandle(connect->caller);
    delete connect;
}

void TcpStream::connectDone(Connect &connect)
{
    m_connect = nullptr;
    if (connect.socket == INVALID_SOCKET) {
        fail(connect.lookupFailed               ? remote::StreamFailure::UnknownHost
             : connect.error == WSAECONNREFUSED ? remote::StreamFailure::Refused
                                                : remote::StreamFailure::Other,
             connect.error);
        return;
    }
    m_socket = connect.socket;
    if (!startReceive()) {
        fail(remote::StreamFailure::Other, static_cast<DWORD>(WSAGetLastError()));
        return;
    }
    m_connected = true;
    notify();
}

bool TcpStream::startReceive()
{
    auto *receive = new PendingIo{{}, this, model::ByteString(CHUNK_BYTES)};
    WSABUF buffer{CHUNK_BYTES, reinterpret_cast<char *>(receive->bytes.data())};
    DWORD flags = 0;
    if (WSARecv(m_socket, &buffer, 1, nullptr, &flags, &receive->overlapped, &ReceiveDone) != 0 &&
        WSAGetLastError() != WSA_IO_PENDING) {
        delete receive;
        return false;
    }
    m_receive = receive;
    return true;
}

void CALLBACK TcpStream::ReceiveDone(DWORD error, DWORD count, WSAOVERLAPPED *io, DWORD)
{
    auto *receive = reinterpret_cast<PendingIo *>(io);
    if (receive->owner)
        receive->owner->receiveDone(error, count);
    else
        delete receive;
}

void TcpStream::receiveDone(DWORD error, DWORD count)
{
    PendingIo *receive = std::exchange(m_receive, nullptr);
    if (error == 0)
        m_input.insert(m_input.end(), receive->bytes.begin(), receive->bytes.begin() + count);
    delete receive;
    if (error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAENETRESET ||
        (error == 0 && count == 0)) {
        fail(remote::StreamFailure::Closed, error);
        return;
    }
    if (error != 0) {
        fail(remote::StreamFailure::Other, error);
        return;
    }
    // The next receive starts once this one's bytes are taken: a server that floods the
    // line would otherwise keep the wait running routines, and the input growing, forever.
    m_arrived = true;
    notify();
}

bool TcpStream::write(const model::ByteString &bytes)
{
    if (m_socket == INVALID_SOCKET)
        return false;
    auto *send = new PendingIo{{}, this, bytes};
    WSABUF buffer{static_cast<ULONG>(bytes.size()), reinterpret_cast<char *>(send->bytes.data())};
    if (WSASend(m_socket, &buffer, 1, nullptr, 0, &send->overlapped, &SendDone) != 0 &&
        WSAGetLastError() != WSA_IO_PENDING) {
        delete send;
        return false;
    }
    m_sends.push_back(send);
    return true;
}

void CALLBACK TcpStream::SendDone(DWORD error, DWORD, WSAOVERLAPPED *io, DWORD)
{
    auto *send = reinterpret_cast<PendingIo *>(io);
    if (send->owner)
        send->owner->sendDone(send, error);
    else
        delete send;
}

void TcpStream::sendDone(PendingIo *send, DWORD error)
{
    std::erase(m_sends, send);
    delete send;
    if (error != 0)
        fail(error == WSAECONNRESET || error == WSAECONNABORTED ? remote::StreamFailure::Closed
                                                                : remote::StreamFailure::Other,
             error);
}

model::ByteString TcpStream::takeInput()
{
    for (int round = 0; round < MAX_DRAIN_ROUNDS && SleepEx(0, TRUE) == WAIT_IO_COMPLETION;
         ++round) {
    }
    // A failure among them is still told by the loop, after its data.
    m_arrived = false;
    model::ByteString bytes = std::exchange(m_input, {});
    if (m_socket != INVALID_SOCKET && !m_receive && !startReceive())
        fail(remote::StreamFailure::Other, static_cast<DWORD>(WSAGetLastError()));
    return bytes;
}

void TcpStream::fail(remote::StreamFailure failure, DWORD code)
{
    closeSocket();
    m_failed = true;
    m_failure = failure;
    m_failureText = code == 0 ? "closed by the server" : SystemMessage(code);
    notify();
}

// The listener hears from the loop, not from inside a routine or APC that a wait ran.
void TcpStream::notify()
{
    if (std::exchange(m_notifying, true))
        return;
    // In the order they happened: data that came with the close is handed up before it.
    m_loop.defer(this, [this] {
        m_notifying = false;
        if (std::exchange(m_lookedUp, false) && m_listener)
            m_listener->lookedUp();
        if (std::exchange(m_connected, false) && m_listener)
            m_listener->connected();
        if (std::exchange(m_arrived, false) && m_listener)
            m_listener->bytesArrived();
        if (std::exchange(m_failed, false) && m_listener)
            m_listener->streamFailed(m_failure, m_failureText);
    });
}

void TcpStream::close()
{
    closeSocket();
    m_loop.forget(this);
    m_notifying = m_lookedUp = m_connected = m_arrived = m_failed = false;
    m_input.clear();
}

void TcpStream::closeSocket()
{
    if (m_connect)
        std::exchange(m_connect, nullptr)->owner = nullptr;
    if (m_socket == INVALID_SOCKET)
        return;
    // Their routines free them, once closesocket has ended them.
    if (m_receive)
        std::exchange(m_receive, nullptr)->owner = nullptr;
    for (PendingIo *send : m_sends)
        send->owner = nullptr;
    m_sends.clear();
    // Frames go out well before a transfer closes; the FIN follows whatever is still queued.
    shutdown(m_socket, SD_SEND);
    closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

} // namespace sg::win32
