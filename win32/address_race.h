#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <utility>
#include <vector>

namespace sg::win32 {

// The Winsock calls a race of a name's addresses makes, so that tests can stand in for a
// network that behaves as Windows' does where wine's does not: a refused connection that
// takes about 2 s, say. Each behaves as its namesake, failures included.
class SocketApi
{
public:
    virtual ~SocketApi() = default;

    // A non-blocking connect under way (socket, ioctlsocket FIONBIO, connect), or
    // INVALID_SOCKET with error set.
    virtual SOCKET startConnect(const ADDRINFOW &address, DWORD &error) = 0;
    // Up to ms for any of sockets to connect or fail (select's writable and exception sets,
    // SO_ERROR); each that ended, with its error, 0 when connected. With no socket, waits.
    virtual std::vector<std::pair<SOCKET, DWORD>> wait(const std::vector<SOCKET> &sockets,
                                                       ULONGLONG ms) = 0;
    virtual void close(SOCKET socket) = 0;
    virtual ULONGLONG now() = 0;
};

SocketApi &SystemSocketApi();

// The addresses raced as RFC 8305 says, each attempt on its own socket: the first to
// connect, left non-blocking, or INVALID_SOCKET with the last attempt's error.
SOCKET RaceAddresses(SocketApi &api, const ADDRINFOW *found, DWORD &error);

} // namespace sg::win32
