#include "win32/address_race.h"

#include "remote/connect_race.h"

#include <algorithm>
#include <optional>

namespace sg::win32 {

namespace {

// The helper thread stops trying after this, long after the link has given up.
constexpr ULONGLONG GIVE_UP_MS = 30000;
// ioctlsocket takes its command as a long, which the header's unsigned value overflows.
const long SET_NON_BLOCKING = static_cast<long>(FIONBIO);

class SystemSockets : public SocketApi
{
public:
    SOCKET startConnect(const ADDRINFOW &address, DWORD &error) override
    {
        const SOCKET socket = WSASocketW(address.ai_family, address.ai_socktype,
                                         address.ai_protocol, nullptr, 0, WSA_FLAG_OVERLAPPED);
        u_long nonBlocking = 1;
        if (socket == INVALID_SOCKET || ioctlsocket(socket, SET_NON_BLOCKING, &nonBlocking) != 0) {
            error = static_cast<DWORD>(WSAGetLastError());
            if (socket != INVALID_SOCKET)
                closesocket(socket);
            return INVALID_SOCKET;
        }
        if (::connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0 &&
            WSAGetLastError() != WSAEWOULDBLOCK) {
            error = static_cast<DWORD>(WSAGetLastError());
            closesocket(socket);
            return INVALID_SOCKET;
        }
        return socket;
    }

    std::vector<std::pair<SOCKET, DWORD>> wait(const std::vector<SOCKET> &sockets,
                                               ULONGLONG ms) override
    {
        // select takes no empty sets: with nothing running, only the time is waited for.
        if (sockets.empty()) {
            Sleep(static_cast<DWORD>(ms));
            return {};
        }
        fd_set writable{};
        fd_set failed{};
        for (const SOCKET socket : sockets) {
            FD_SET(socket, &writable);
            FD_SET(socket, &failed);
        }
        timeval timeout{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
        std::vector<std::pair<SOCKET, DWORD>> ended;
        if (select(0, nullptr, &writable, &failed, &timeout) == SOCKET_ERROR) {
            for (const SOCKET socket : sockets)
                ended.emplace_back(socket, static_cast<DWORD>(WSAGetLastError()));
            return ended;
        }
        for (const SOCKET socket : sockets) {
            int code = 0;
            int size = sizeof code;
            // A connect that failed is in the exception set (select's page), its cause in
            // SO_ERROR.
            if (FD_ISSET(socket, &failed))
                getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&code), &size);
            if (FD_ISSET(socket, &failed) || FD_ISSET(socket, &writable))
                ended.emplace_back(socket, code == 0 && FD_ISSET(socket, &failed)
                                               ? static_cast<DWORD>(WSAECONNREFUSED)
                                               : static_cast<DWORD>(code));
        }
        return ended;
    }

    void close(SOCKET socket) override { closesocket(socket); }
    ULONGLONG now() override { return GetTickCount64(); }
};

} // namespace

SocketApi &SystemSocketApi()
{
    static SystemSockets sockets;
    return sockets;
}

SOCKET RaceAddresses(SocketApi &api, const ADDRINFOW *found, DWORD &error)
{
    std::vector<const ADDRINFOW *> addresses;
    std::vector<bool> ipv6;
    for (const ADDRINFOW *address = found; address; address = address->ai_next) {
        addresses.push_back(address);
        ipv6.push_back(address->ai_family == AF_INET6);
    }
    remote::ConnectRace race(ipv6);
    std::vector<SOCKET> running;
    const ULONGLONG giveUpAt = api.now() + GIVE_UP_MS;
    ULONGLONG nextAt = 0;
    SOCKET winner = INVALID_SOCKET;
    bool lost = addresses.empty();
    while (winner == INVALID_SOCKET && !lost && api.now() < giveUpAt) {
        if (api.now() >= nextAt) {
            nextAt = api.now() + remote::ConnectRace::ATTEMPT_DELAY_MS;
            if (const std::optional<std::size_t> next = race.next()) {
                const SOCKET socket = api.startConnect(*addresses[*next], error);
                if (socket != INVALID_SOCKET)
                    running.push_back(socket);
                else if (!(lost = race.failed()))
                    nextAt = 0;
                continue;
            }
        }
        const ULONGLONG until = std::min(nextAt, giveUpAt);
        for (const auto &[socket, code] : api.wait(running, until - std::min(api.now(), until))) {
            std::erase(running, socket);
            if (code == 0 && winner == INVALID_SOCKET) {
                winner = socket;
                continue;
            }
            error = code;
            api.close(socket);
            lost = race.failed() || lost;
            nextAt = 0; // a failure starts the next attempt at once
        }
    }
    for (const SOCKET socket : running)
        api.close(socket);
    if (winner != INVALID_SOCKET)
        error = 0;
    return winner;
}

} // namespace sg::win32
