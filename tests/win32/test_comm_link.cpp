#include "fake_comm_api.h"
#include "win32/comm_link.h"
#include "win32/line_settings.h"

#include <doctest/doctest.h>

#include <memory>

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

TEST_CASE("the line is set in full from known values, never from what was there")
{
    Rig rig;
    REQUIRE(rig.link.open(R"(\\.\COM3)"));
    REQUIRE(rig.comm.states.size() == 1);
    const DCB &line = rig.comm.states[0];
    const struct
    {
        const char *field;
        DWORD value, wanted;
    } rows[] = {
        {"BaudRate", line.BaudRate, 9600},
        {"ByteSize", line.ByteSize, 8},
        {"Parity", line.Parity, NOPARITY},
        {"StopBits", line.StopBits, ONESTOPBIT},
        {"fBinary", line.fBinary, 1},
        {"fParity", line.fParity, 0},
        {"fOutxCtsFlow", line.fOutxCtsFlow, 0},
        {"fOutxDsrFlow", line.fOutxDsrFlow, 0},
        {"fDsrSensitivity", line.fDsrSensitivity, 0},
        {"fOutX", line.fOutX, 0},
        {"fInX", line.fInX, 0},
        {"fErrorChar", line.fErrorChar, 0},
        {"fNull", line.fNull, 0},
        {"fAbortOnError", line.fAbortOnError, 0},
        {"fDtrControl", line.fDtrControl, DTR_CONTROL_ENABLE},
        {"fRtsControl", line.fRtsControl, RTS_CONTROL_ENABLE},
        {"XonChar", static_cast<BYTE>(line.XonChar), 0x11},
        {"XoffChar", static_cast<BYTE>(line.XoffChar), 0x13},
        {"EofChar", static_cast<BYTE>(line.EofChar), 0},
        {"EvtChar", static_cast<BYTE>(line.EvtChar), 0},
    };
    for (const auto &row : rows) {
        CAPTURE(row.field);
        CHECK(row.value == row.wanted);
    }
    CHECK(line.XonLim + line.XoffLim <= sg::win32::IN_QUEUE_BYTES);
    const std::vector<std::string> order{"CreateFile", "SetupComm", "SetCommState",
                                         "SetCommTimeouts", "PurgeComm"};
    CHECK(rig.comm.calls == order);
}

TEST_CASE("a port held by another program is refused in words")
{
    Rig rig;
    rig.comm.openError = ERROR_ACCESS_DENIED;
    CHECK_FALSE(rig.link.open(R"(\\.\COM3)"));
    CHECK(rig.link.lastError().starts_with("COM3: in use by another program, or access denied ("));
}

TEST_CASE("a read that ends with no byte is read again")
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
}

TEST_CASE("an adapter pulled out ends the port once, in words")
{
    for (const DWORD code : std::vector<DWORD>{ERROR_OPERATION_ABORTED, ERROR_GEN_FAILURE,
                                               ERROR_BAD_COMMAND, ERROR_DEVICE_REMOVED}) {
        CAPTURE(code);
        Rig rig;
        REQUIRE(rig.link.open(R"(\\.\COM3)"));
        rig.comm.endRead(code);
        Settle(rig.loop);
        CHECK(rig.heard.lost == 1);
        CHECK_FALSE(rig.link.isOpen());
        CHECK(rig.link.lastError().starts_with("COM3: the adapter was removed ("));
    }
}

TEST_CASE("a failure found when a tick takes the input ends the port then")
{
    const struct
    {
        const char *name;
        void (*fault)(FakeComm &);
    } rows[] = {
        {"the read failed", [](FakeComm &comm) { comm.endRead(ERROR_GEN_FAILURE); }},
        {"ClearCommError failed",
         [](FakeComm &comm) {
             comm.clearError = ERROR_GEN_FAILURE;
             comm.arrive({0x44});
         }},
        {"a write left short", [](FakeComm &comm) { comm.shortWrite = 2; }},
    };
    for (const auto &row : rows) {
        const std::string name = row.name;
        CAPTURE(name);
        Rig rig;
        REQUIRE(rig.link.open(R"(\\.\COM3)"));
        row.fault(rig.comm);
        REQUIRE(rig.link.send({0x44, 0x05, 0x18, 0x00, 0x59}));
        rig.link.takeInput();
        CHECK(rig.heard.lost == 1);
        CHECK_FALSE(rig.link.isOpen());
        Settle(rig.loop);
        CHECK(rig.heard.lost == 1);
    }
}

TEST_CASE("a driver that never completes holds nothing up")
{
    MessageLoop loop;
    FakeComm comm;
    Heard heard;
    comm.hangs = true;
    auto link = std::make_unique<CommLink>(loop, comm);
    link->setListener(&heard);
    REQUIRE(link->open(R"(\\.\COM3)"));
    CHECK(link->send({0x44, 0x05, 0x18, 0x00, 0x59}));
    link->close();
    comm.release(); // the write a closed port left behind is no news
    Settle(loop);
    CHECK(heard.lost == 0);
    comm.hangs = true;
    REQUIRE(link->open(R"(\\.\COM3)"));
    CHECK(link->send({0x44}));
    link.reset();
    comm.release(); // at last: freed by their routines, with no link
    comm.endRead(ERROR_OPERATION_ABORTED);
    Settle(loop);
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
