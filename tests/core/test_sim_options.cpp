#include "sim/sim_options.h"

#include <doctest/doctest.h>

#include <vector>

TEST_CASE("the simulator takes its options, and words a bad one")
{
    const struct
    {
        std::vector<const char *> args;
        std::string error; // empty: parsed
    } rows[] = {
        {{"--delay-ms", "1700", "--split"}, ""},
        {{"--delay-ms"}, "--delay-ms needs a number"},
        {{"--delay-ms", "17x"}, "--delay-ms needs a number, not '17x'"},
        {{"--bogus"}, "unknown option '--bogus'"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.error);
        std::vector<const char *> argv{"sgsim"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        std::string error;
        const auto options =
            sg::sim::ParseSimOptions(static_cast<int>(argv.size()), argv.data(), error);
        CHECK(error == row.error);
        CHECK(options.has_value() == row.error.empty());
        if (options)
            CHECK((options->delayMs == 1700 && options->split));
    }
}
