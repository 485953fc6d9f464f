#include "remote/connect_race.h"

namespace sg::remote {

ConnectRace::ConnectRace(const std::vector<bool> &ipv6)
{
    std::vector<std::size_t> families[2];
    for (std::size_t i = 0; i < ipv6.size(); ++i)
        families[ipv6[i] == ipv6.front() ? 0 : 1].push_back(i);
    for (std::size_t i = 0; i < families[0].size() || i < families[1].size(); ++i) {
        for (const std::vector<std::size_t> &family : families) {
            if (i < family.size())
                m_order.push_back(family[i]);
        }
    }
}

std::optional<std::size_t> ConnectRace::next()
{
    if (m_started == m_order.size())
        return std::nullopt;
    return m_order[m_started++];
}

bool ConnectRace::failed()
{
    ++m_failed;
    return m_failed == m_started && m_started == m_order.size();
}

} // namespace sg::remote
