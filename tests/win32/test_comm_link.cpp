#include "fake_comm_api.h"
#include "transfer/transfer_engine.h"
#include "win32/comm_link.h"
#include "win32/line_settings.h"
#include "win32/unique_handle.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

using sg::win32::CommLink;
using sg::win32::MessageLoop;

namespace {

struct Heard : sg::protocol::SerialLinkListener
{
    int arrived = 0;
    int lost = 0;
    void bytesArrived() override { ++arrived; }
    void deviceLost() override { ++lost; }
};

// Delivers what the fake queued, then lets the loop tell the listeners.
void Settle(MessageLoop &loop)
{
    while (SleepEx(0, TRUE) == WAIT_IO_COMPLETION) {
    }
    PostQuitMessage(0);
    loop.run();
}

struct Rig
{
    MessageLoop loop;
    FakeComm comm;
    Heard heard;
    CommLink link{loop, comm};
    Rig() { link.setListener(&heard); }
};

} // namespace

TEST_CASE("the line is set in full from known values; a held port is refused in words")
{
    Rig rig;
    REQUIRE(rig.link.open(R"(\\.\COM3)"));
    REQUIRE(rig.comm.states.size() == 1);
    const DCB &line = rig.comm.states[0];
    char text[160];
    std::snprintf(text, sizeof text,
                  "%lu %u%u%u binary %u parity %u flow %u%u%u%u%u dtr %u rts %u "
                  "error %u null %u abort %u chars %02X %02X %02X %02X",
                  line.BaudRate, line.ByteSize, line.Parity, line.StopBits, line.fBinary,
                  line.fParity, line.fOutxCtsFlow, line.fOutxDsrFlow, line.fDsrSensitivity,
                  line.fOutX, line.fInX, line.fDtrControl, line.fRtsControl, line.fErrorChar,
                  line.fNull, line.fAbortOnError, static_cast<BYTE>(line.XonChar),
                  static_cast<BYTE>(line.XoffChar), static_cast<BYTE>(line.EofChar),
                  static_cast<BYTE>(line.EvtChar));
    CHECK(std::string(text) == "9600 800 binary 1 parity 0 flow 00000 dtr 1 rts 1 "
                               "error 0 null 0 abort 0 chars 11 13 00 00");
    CHECK(line.XonLim + line.XoffLim <= sg::win32::IN_QUEUE_BYTES);
    const std::vector<std::string> order{"CreateFile", "SetupComm", "SetCommState",
                                         "SetCommTimeouts", "PurgeComm"};
    CHECK(rig.comm.calls == order);
    const COMMTIMEOUTS &waits = rig.comm.timeouts;
    std::snprintf(text, sizeof text, "%lX %lX %lu %lu %lu", waits.ReadIntervalTimeout,
                  waits.ReadTotalTimeoutMultiplier, waits.ReadTotalTimeoutConstant,
                  waits.WriteTotalTimeoutMultiplier, waits.WriteTotalTimeoutConstant);
    CHECK(std::string(text) == "5 0 0 0 1000");

    const struct
    {
        DWORD code;
        std::string words;
        bool missing; // the resolver words it, naming the ports there are
    } refusals[] = {
        // The system's words as wine has them, with no line end.
        {ERROR_ACCESS_DENIED, "COM3: in use by another program, or access denied (Access denied.)",
         false},
        {ERROR_FILE_NOT_FOUND, "COM3: File not found.", true},
    };
    for (const auto &refusal : refusals) {
        Rig held;
        held.comm.openError = refusal.code;
        CHECK_FALSE(held.link.open(R"(\\.\COM3)"));
        CHECK(held.link.lastError() == refusal.words);
        CHECK(held.link.portMissing() == refusal.missing);
    }
}

TEST_CASE("a read that ends with no byte is read again, and bytes a tick took are told once")
{
    Rig rig;
    REQUIRE(rig.link.open(R"(\\.\COM3)"));
    rig.comm.endRead(ERROR_SUCCESS);
    Settle(rig.loop);
    rig.comm.arrive({0x44, 0x0B, 0x00});
    Settle(rig.loop);
    CHECK(rig.heard.lost == 0);
    CHECK(rig.heard.arrived == 1);
    CHECK(rig.link.takeInput() == sg::model::ByteString{0x44, 0x0B, 0x00});
    // Bytes a tick's drain took are not told of again by the loop.
    rig.comm.arrive({0x19});
    CHECK(rig.link.takeInput() == sg::model::ByteString{0x19});
    Settle(rig.loop);
    CHECK(rig.heard.arrived == 1);
}

TEST_CASE("a failing port ends once, in words, whether the loop or a tick finds it")
{
    const std::string removed = "COM3: the adapter was removed (";
    const struct
    {
        DWORD readError, clearError, shortWrite;
        std::string words;
    } rows[] = {
        {ERROR_OPERATION_ABORTED, 0, 0, removed},
        {ERROR_GEN_FAILURE, 0, 0, removed},
        {ERROR_BAD_COMMAND, 0, 0, removed},
        {ERROR_DEVICE_REMOVED, 0, 0, removed},
        {ERROR_ACCESS_DENIED, 0, 0, removed},
        {0, ERROR_GEN_FAILURE, 0, removed},
        {0, 0, 2, "COM3: the port took 2 of 5 bytes"},
    };
    for (const auto &row : rows) {
        for (const bool atTick : {false, true}) {
            CAPTURE(row.words);
            CAPTURE(atTick);
            Rig rig;
            rig.comm.clearError = row.clearError;
            rig.comm.shortWrite = row.shortWrite;
            REQUIRE(rig.link.open(R"(\\.\COM3)"));
            REQUIRE(rig.link.send({0x44, 0x05, 0x18, 0x00, 0x59}));
            row.readError ? rig.comm.endRead(row.readError) : rig.comm.arrive({0x44});
            if (atTick) {
                rig.link.takeInput();
                CHECK(rig.heard.lost == 1);
            }
            Settle(rig.loop);
            CHECK(rig.heard.lost == 1);
            CHECK_FALSE(rig.link.isOpen());
            CHECK(rig.link.lastError().starts_with(row.words));
        }
    }
}

TEST_CASE("a driver that never completes holds nothing up")
{
    Rig rig;
    rig.comm.hangs = true;
    REQUIRE(rig.link.open(R"(\\.\COM3)"));
    CHECK(rig.link.send({0x44}));
    rig.link.close();
    CHECK(std::count(rig.comm.calls.begin(), rig.comm.calls.end(), "CancelIoEx") == 1);
    rig.comm.release(); // the write a closed port left behind is no news
    Settle(rig.loop);
    CHECK(rig.heard.lost == 0);
    rig.comm.hangs = true;
    auto link = std::make_unique<CommLink>(rig.loop, rig.comm);
    REQUIRE(link->open(R"(\\.\COM3)"));
    CHECK(link->send({0x44}));
    link.reset();
    rig.comm.release(); // at last: freed by their routines, with no link
    rig.comm.endRead(ERROR_OPERATION_ABORTED);
    Settle(rig.loop);
}

TEST_CASE("a driver that ends every read at once, empty, starves no tick")
{
    Rig rig;
    rig.comm.emptyReads = 100000;
    REQUIRE(rig.link.open(R"(\\.\COM3)"));
    static int ticks;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        if (++ticks == 3)
            PostQuitMessage(0);
    });
    rig.loop.run();
    KillTimer(nullptr, timer);
    CHECK(rig.comm.emptyReads > 0);
    rig.comm.emptyReads = 0;
    Settle(rig.loop);
    rig.comm.arrive({0x44});
    Settle(rig.loop);
    CHECK(rig.link.takeInput() == sg::model::ByteString{0x44});
}

TEST_CASE("a port lost inside another port's drain ends at its own tick as the loss")
{
    struct : sg::transfer::Ticker, sg::transfer::TransferEvents
    {
        std::string reason;
        void start() override {}
        void stop() override {}
        void paramsRead(const sg::model::ParamBlock &) override {}
        void transferEnding(const sg::transfer::TransferOutcome &) override {}
        void transferEnded(const sg::transfer::TransferOutcome &end) override
        {
            reason = end.reason;
        }
    } rig;
    MessageLoop loop;
    FakeComm lostComm, otherComm;
    CommLink lost{loop, lostComm}, other{loop, otherComm};
    sg::transfer::TransferEngine lostEngine{lost, rig}, otherEngine{other, rig};
    lostEngine.setEvents(&rig);
    lostEngine.startRead({{.label = "COM3", .device = R"(\\.\COM3)"}});
    otherEngine.startRead({{.label = "COM4", .device = R"(\\.\COM4)"}});
    lostComm.endRead(ERROR_GEN_FAILURE);
    otherEngine.tick(); // its drain runs the lost port's routine
    lostEngine.tick();
    CHECK(rig.reason.starts_with("COM3: the adapter was removed ("));
}

TEST_CASE("a hundred ports on the one thread")
{
    MessageLoop loop;
    FakeComm comm;
    Heard heard;
    std::vector<std::unique_ptr<CommLink>> links;
    for (int i = 0; i < 100; ++i) {
        links.push_back(std::make_unique<CommLink>(loop, comm));
        links.back()->setListener(&heard);
        REQUIRE(links.back()->open(R"(\\.\COM3)"));
        comm.arrive({0x44});
    }
    Settle(loop);
    CHECK(heard.arrived == 100);
}

TEST_CASE("a handle that fails the loop's wait is dropped, not waited on again")
{
    MessageLoop loop;
    std::string called;
    const auto heard = [&called](const char *name) {
        return [&called, name] { called += name, PostQuitMessage(7); };
    };
    // Never a handle of this process; a closed one's value may be reused at once.
    loop.watch(reinterpret_cast<HANDLE>(0x7ff0), heard("failed"));
    // An event unwatched takes its handler along, so the one left still has its own.
    const sg::win32::UniqueHandle gone(CreateEventW(nullptr, FALSE, TRUE, nullptr));
    const sg::win32::UniqueHandle set(CreateEventW(nullptr, FALSE, TRUE, nullptr));
    loop.watch(gone.get(), heard("gone"));
    loop.watch(set.get(), heard("set"));
    loop.unwatch(gone.get());
    CHECK(loop.run() == 7);
    CHECK(called == "set");
}
