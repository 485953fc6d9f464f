#include "cli/port_probe.h"

#include "fake_transfer.h"
#include "transfer/ticker.h"

#include <doctest/doctest.h>

using sg::cli::PortProbe;
using sg::cli::ProbeVerdict;

namespace {

class FakeLoop : public sg::transfer::EventLoop
{
public:
    bool run() override { return true; }
    void stop() override {}
    void tickOnce(int ms, std::function<void()> call) override
    {
        waits.push_back(ms);
        calls.push_back(std::move(call));
    }
    std::vector<int> waits;
    std::vector<std::function<void()>> calls;
};

} // namespace

TEST_CASE("a port that cannot take the request is unusable, whenever it gets ready")
{
    const struct
    {
        const char *name;
        bool openWorks, readyAtOpen, sendWorks;
        bool started;
        std::vector<int> waits; // the loop's ticks asked for
        int doneCalls;
        ProbeVerdict verdict;
        const char *reason;
    } rows[] = {
        {"no open", false, true, true, false, {}, 0, ProbeVerdict::Unusable, "/dev/fake: reason"},
        {"no send at the open",
         true,
         true,
         false,
         false,
         {},
         0,
         ProbeVerdict::Unusable,
         "/dev/fake: reason"},
        {"no send once ready",
         true,
         false,
         false,
         true,
         {},
         1,
         ProbeVerdict::Unusable,
         "/dev/fake: reason"},
        {"sent, and a period later no answer",
         true,
         true,
         true,
         true,
         {1500},
         1,
         ProbeVerdict::NoAnswer,
         ""},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        Journal journal;
        FakeLink link(journal);
        link.openWorks = row.openWorks;
        link.ready_ = row.readyAtOpen;
        link.sendWorks = row.sendWorks;
        FakeLoop loop;
        int doneCalls = 0;
        PortProbe probe({.port = {.device = "/dev/fake"}}, link, loop, [&] { ++doneCalls; });
        CHECK(probe.start() == row.started);
        if (!row.readyAtOpen)
            probe.linkReady();
        for (const auto &call : loop.calls)
            call();
        CHECK(loop.waits == row.waits);
        CHECK(doneCalls == row.doneCalls);
        const sg::cli::ProbeResult &result = probe.finish();
        CHECK(result.verdict == row.verdict);
        CHECK(result.reason == row.reason);
    }
}
