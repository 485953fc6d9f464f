#include "fake_transfer.h"
#include "hex_bytes.h"
#include "transfer/transfer_engine.h"

#include <doctest/doctest.h>

#include <functional>
#include <map>

using namespace sg::transfer;

namespace {

// An engine on fakes, with the ends it told.
struct Rig : TransferEvents
{
    Rig() { engine.setEvents(this); }
    void paramsRead(const sg::model::ParamBlock &) override {}
    void transferEnding(const TransferOutcome &) override {}
    void transferEnded(const TransferOutcome &outcome) override { ended.push_back(outcome.end); }

    Journal journal;
    FakeLink link{journal};
    FakeTicker ticker{journal};
    TransferEngine engine{link, ticker};
    std::vector<TransferEnd> ended;
};

// One whose steps may run early, with the tickers it made for that kept by period.
struct EarlyRig : Rig
{
    EarlyRig()
    {
        engine.runStepsEarly({.guardMs = 20, .settleMs = 100},
                             [this](int ms, std::function<void()> onTick) {
                                 fire[ms] = std::move(onTick);
                                 auto made = std::make_unique<FakeTicker>(journal);
                                 early[ms] = made.get();
                                 return made;
                             });
    }

    std::map<int, std::function<void()>> fire;
    std::map<int, FakeTicker *> early;
};

const sg::protocol::Resolved TARGET{{.device = "/dev/pts/9", .name = "COM3"}};
const std::string ANSWER = "440B 0001004019 0A0004 19";
const std::string PARAMS_ANSWER = "4405180059 440B 00010040190A0003 1E";

} // namespace

TEST_CASE("a step runs early once its reply is complete and the line quiet, and only then")
{
    const struct
    {
        const char *name;
        std::vector<std::string> heard; // after the request's echo, chunk by chunk
        int guards;                     // how often the guard started
        bool guarded;
        std::vector<TransferEnd> ended; // after the guard's end, if it started
    } rows[] = {
        {"a whole reply", {ANSWER}, 1, true, {}},
        {"one byte short: the tick decides", {ANSWER.substr(0, ANSWER.size() - 2)}, 0, false, {}},
        {"a stray byte within the guard fails the check",
         {ANSWER, "00"},
         2,
         true,
         {TransferEnd::NoResponse}},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        EarlyRig rig;
        rig.engine.startRead(TARGET);
        rig.link.arrive(Bytes("4405180059"));
        for (const std::string &chunk : row.heard)
            rig.link.arrive(Bytes(chunk));
        CHECK(rig.early[20]->running == row.guarded);
        CHECK(rig.early[20]->starts == row.guards);
        if (row.guarded)
            rig.fire[20]();
        CHECK(rig.ended == row.ended);
        CHECK(rig.link.sent.size() == (row.guarded && row.ended.empty() ? 2U : 1U));
        CHECK(rig.ticker.starts == (row.guarded && row.ended.empty() ? 2 : 1));
        CHECK_FALSE(rig.early[20]->running);
    }
}

TEST_CASE("a write's step runs once its echo is back and the settle time has passed")
{
    EarlyRig rig;
    const sg::model::Blocks blocks{{0x01}, {0, 1, 0, 0x40, 0x19, 0x0A, 0, 1}};
    rig.engine.startStore(TARGET, blocks);
    rig.link.arrive(Bytes("440628"));
    CHECK_FALSE(rig.early[100]->running); // half an echo
    rig.link.arrive(Bytes("10 01 7F"));
    rig.link.arrive(Bytes("00")); // settles from the echo, not from what follows
    CHECK(rig.early[100]->starts == 1);
    rig.fire[100]();
    CHECK(rig.engine.state() == TransferState::StoreFinish);
    rig.link.arrive(rig.link.sent.back());
    rig.fire[100]();
    CHECK(rig.ended == std::vector<TransferEnd>{TransferEnd::Ok});
    CHECK((!rig.ticker.running && !rig.early[100]->running));
}

TEST_CASE("an idle tick only stops the timer")
{
    Rig rig;
    rig.ticker.running = true;
    rig.engine.tick();
    CHECK(rig.journal == Journal{"stop timer"});
    CHECK(rig.ended.empty());
    CHECK(rig.link.sent.empty());
}

TEST_CASE("nothing reaches an ended transfer")
{
    Rig rig;
    rig.engine.startRead(TARGET);
    rig.engine.tick();
    rig.engine.tick();
    rig.engine.deviceLost();
    CHECK(rig.ended == std::vector<TransferEnd>{TransferEnd::NoResponse});
    CHECK((rig.engine.state() == TransferState::Idle && !rig.ticker.running && !rig.link.open_));
}

TEST_CASE("a tick sees input the link has not yet announced")
{
    Rig rig;
    rig.engine.startRead(TARGET);
    rig.link.waiting = Bytes(PARAMS_ANSWER);
    rig.engine.tick();
    CHECK(rig.engine.state() == TransferState::ReadCheckData);
}

TEST_CASE("losing the device while idle is quiet")
{
    Rig rig;
    rig.engine.deviceLost();
    CHECK(rig.ended.empty());
}
