#include "remote/connect_race.h"

#include <doctest/doctest.h>

using sg::remote::ConnectRace;

TEST_CASE("addresses are tried with the families alternating, from the resolver's first")
{
    const struct
    {
        const char *name;
        std::vector<bool> ipv6;
        std::vector<std::size_t> order;
    } rows[] = {
        {"localhost on Windows: ::1 first", {true, false}, {0, 1}},
        {"IPv4 first, then three IPv6 and one more IPv4",
         {false, true, true, true, false},
         {0, 1, 4, 2, 3}},
        {"one family only", {false, false}, {0, 1}},
        {"one address", {true}, {0}},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        ConnectRace race(row.ipv6);
        std::vector<std::size_t> order;
        while (const std::optional<std::size_t> next = race.next())
            order.push_back(*next);
        CHECK(order == row.order);
    }
}

TEST_CASE("the race is lost only when every address has been tried and has failed")
{
    ConnectRace race({true, false});
    CHECK(race.next() == 0);
    CHECK_FALSE(race.failed()); // the IPv4 one is still to come
    CHECK(race.next() == 1);
    CHECK(race.failed());
}
