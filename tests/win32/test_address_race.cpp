#include "win32/address_race.h"

#include <doctest/doctest.h>

#include <map>

using sg::win32::RaceAddresses;

namespace {

// A network as Windows' stack behaves: each address connects or fails after its own time,
// a refusal after about 2 s, since Windows retries the SYN after a reset.
struct Outcome
{
    bool ipv6;
    ULONGLONG afterMs;
    DWORD error; // 0: connected
};

class FakeSockets : public sg::win32::SocketApi
{
public:
    explicit FakeSockets(std::vector<Outcome> outcomes) : m_outcomes(std::move(outcomes))
    {
        m_addresses.resize(m_outcomes.size());
        for (std::size_t i = 0; i < m_outcomes.size(); ++i) {
            m_addresses[i].ai_family = m_outcomes[i].ipv6 ? AF_INET6 : AF_INET;
            m_addresses[i].ai_next = i + 1 < m_outcomes.size() ? &m_addresses[i + 1] : nullptr;
        }
    }
    const ADDRINFOW *found() const { return m_addresses.data(); }

    SOCKET startConnect(const ADDRINFOW &address, DWORD &) override
    {
        const auto index = static_cast<std::size_t>(&address - m_addresses.data());
        started.push_back(index);
        m_endsAt[index + 1] = m_now + m_outcomes[index].afterMs;
        return index + 1;
    }
    std::vector<std::pair<SOCKET, DWORD>> wait(const std::vector<SOCKET> &sockets,
                                               ULONGLONG ms) override
    {
        ULONGLONG until = m_now + ms;
        for (const SOCKET socket : sockets)
            until = std::min(until, m_endsAt[socket]);
        m_now = until;
        std::vector<std::pair<SOCKET, DWORD>> ended;
        for (const SOCKET socket : sockets) {
            if (m_endsAt[socket] <= m_now)
                ended.emplace_back(socket, m_outcomes[socket - 1].error);
        }
        return ended;
    }
    void close(SOCKET socket) override { closed.push_back(socket - 1); }
    ULONGLONG now() override { return m_now; }

    std::vector<std::size_t> started;
    std::vector<std::size_t> closed;

private:
    std::vector<Outcome> m_outcomes;
    std::vector<ADDRINFOW> m_addresses;
    std::map<SOCKET, ULONGLONG> m_endsAt;
    ULONGLONG m_now = 0;
};

} // namespace

TEST_CASE("a name's addresses race as RFC 8305 says, against Windows' slow refusal")
{
    const struct
    {
        const char *name;
        std::vector<Outcome> outcomes;
        SOCKET winner; // an index + 1, or INVALID_SOCKET
        DWORD error;
        ULONGLONG atMs;
        std::vector<std::size_t> started, closed;
    } rows[] = {
        {"localhost: ::1 refused after 2 s, 127.0.0.1 wins 250 ms in",
         {{true, 2000, WSAECONNREFUSED}, {false, 1, 0}},
         2,
         0,
         251,
         {0, 1},
         {0}},
        {"every address refused: the last refusal, and no wait between",
         {{false, 2000, WSAECONNREFUSED}, {true, 2000, WSAECONNREFUSED}},
         INVALID_SOCKET,
         WSAECONNREFUSED,
         2250,
         {0, 1},
         {0, 1}},
        {"the families alternate from the resolver's first",
         {{false, 1000, 0}, {false, 1, 0}, {true, 1, 0}},
         3,
         0,
         251,
         {0, 2},
         {0}},
        {"a failure starts the next at once",
         {{false, 5, WSAENETUNREACH}, {false, 1, 0}},
         2,
         0,
         6,
         {0, 1},
         {0}},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        FakeSockets sockets(row.outcomes);
        DWORD error = 1;
        CHECK(RaceAddresses(sockets, sockets.found(), error) == row.winner);
        CHECK(error == row.error);
        CHECK(sockets.now() == row.atMs);
        CHECK(sockets.started == row.started);
        CHECK(sockets.closed == row.closed);
    }
}

TEST_CASE("the system's sockets take a connect that fails at once for a failure")
{
    WSADATA data;
    REQUIRE(WSAStartup(MAKEWORD(2, 2), &data) == 0);
    // A multicast address takes no connection, and the stack says so before any packet:
    // wine, as Linux, calls it unreachable.
    ADDRINFOW hints{};
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW *found = nullptr;
    REQUIRE(GetAddrInfoW(L"224.0.0.1", L"9", &hints, &found) == 0);
    sg::win32::SocketApi &api = sg::win32::SystemSocketApi();
    const ULONGLONG startedAt = api.now();
    DWORD error = 0;
    CHECK(RaceAddresses(api, found, error) == INVALID_SOCKET);
    CHECK(error == WSAENETUNREACH);
    CHECK(api.now() - startedAt < 1000);
    FreeAddrInfoW(found);
    WSACleanup();
}

TEST_CASE("the system's wait ends every socket when select itself fails")
{
    WSADATA data;
    REQUIRE(WSAStartup(MAKEWORD(2, 2), &data) == 0);
    // Closed sockets are none to select, which then fails at once, for all of them.
    const std::vector<SOCKET> gone{socket(AF_INET, SOCK_STREAM, 0),
                                   socket(AF_INET, SOCK_STREAM, 0)};
    for (const SOCKET socket : gone)
        closesocket(socket);
    const std::vector<std::pair<SOCKET, DWORD>> expected{{gone[0], WSAENOTSOCK},
                                                         {gone[1], WSAENOTSOCK}};
    CHECK(sg::win32::SystemSocketApi().wait(gone, 5000) == expected);
    WSACleanup();
}
