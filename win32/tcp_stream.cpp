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

// Winsock's calls either finish at once or go on as WSA_IO_PENDING; both are in flight.
bool InFlight(int result)
{
    return result == 0 || WSAGetLastError() == WSA_IO_PENDING;
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

TcpStream::TcpStream(MessageLoop &loop)
    : m_io([this](OverlappedIo::Kind kind, DWORD error, DWORD count,
                  const model::ByteString &bytes) {
          kind == OverlappedIo::Kind::Read ? receiveDone(error, count, bytes) : sendDone(error);
      }),
      m_notice(loop, [this] { tell(); })
{
    WSADATA data{};
    m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

TcpStream::~TcpStream()
{
    close();
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
        connect->owner->m_notice.post();
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
    m_notice.post();
}

bool TcpStream::startReceive()
{
    return m_io.start(OverlappedIo::Kind::Read, model::ByteString(CHUNK_BYTES),
                      [this](OVERLAPPED &io, model::ByteString &bytes) {
                          WSABUF buffer{CHUNK_BYTES, reinterpret_cast<char *>(bytes.data())};
                          DWORD flags = 0;
                          return InFlight(WSARecv(m_socket, &buffer, 1, nullptr, &flags, &io,
                                                  &OverlappedIo::SocketDone));
                      });
}

void TcpStream::receiveDone(DWORD error, DWORD count, const model::ByteString &bytes)
{
    if (error == 0)
        m_input.insert(m_input.end(), bytes.begin(), bytes.begin() + count);
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
    m_notice.post();
}

bool TcpStream::write(const model::ByteString &bytes)
{
    if (m_socket == INVALID_SOCKET)
        return false;
    return m_io.start(
        OverlappedIo::Kind::Write, bytes, [this](OVERLAPPED &io, model::ByteString &frame) {
            WSABUF buffer{static_cast<ULONG>(frame.size()), reinterpret_cast<char *>(frame.data())};
            return InFlight(
                WSASend(m_socket, &buffer, 1, nullptr, 0, &io, &OverlappedIo::SocketDone));
        });
}

void TcpStream::sendDone(DWORD error)
{
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
    if (m_socket != INVALID_SOCKET && !m_io.reading() && !startReceive())
        fail(remote::StreamFailure::Other, static_cast<DWORD>(WSAGetLastError()));
    return bytes;
}

void TcpStream::fail(remote::StreamFailure failure, DWORD code)
{
    closeSocket();
    m_failed = true;
    m_failure = failure;
    m_failureText = code == 0 ? "closed by the server" : SystemMessage(code);
    m_notice.post();
}

// In the order they happened: data that came with the close is handed up before it.
void TcpStream::tell()
{
    if (std::exchange(m_lookedUp, false) && m_listener)
        m_listener->lookedUp();
    if (std::exchange(m_connected, false) && m_listener)
        m_listener->connected();
    if (std::exchange(m_arrived, false) && m_listener)
        m_listener->bytesArrived();
    if (std::exchange(m_failed, false) && m_listener)
        m_listener->streamFailed(m_failure, m_failureText);
}

void TcpStream::close()
{
    closeSocket();
    m_notice.cancel();
    m_lookedUp = m_connected = m_arrived = m_failed = false;
    m_input.clear();
}

void TcpStream::closeSocket()
{
    if (m_connect)
        std::exchange(m_connect, nullptr)->owner = nullptr;
    if (m_socket == INVALID_SOCKET)
        return;
    // Their routines free them, once closesocket has ended them.
    m_io.letGo();
    // Frames go out well before a transfer closes; the FIN follows whatever is still queued.
    shutdown(m_socket, SD_SEND);
    closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

} // namespace sg::win32
