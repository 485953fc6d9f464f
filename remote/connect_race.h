#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace sg::remote {

// The order and pace in which RFC 8305 (Happy Eyeballs) connects to a name's addresses:
// the families alternate, starting with the resolver's first, and each attempt starts
// when the one before it fails or after ATTEMPT_DELAY_MS, whichever comes first, without
// giving up the attempts already running. The first to connect wins.
class ConnectRace
{
public:
    static constexpr int ATTEMPT_DELAY_MS = 250;

    // ipv6: for each address in the resolver's order, whether it is an IPv6 one.
    explicit ConnectRace(const std::vector<bool> &ipv6);

    // The address to try now, as an index into the resolver's list, or none when every
    // one has been tried: ask at the start, after each delay and after each failure.
    std::optional<std::size_t> next();
    // One attempt failed; true when it was the last one running and none is left.
    bool failed();

private:
    std::vector<std::size_t> m_order;
    std::size_t m_started = 0;
    std::size_t m_failed = 0;
};

} // namespace sg::remote
