#include "fake_transfer.h"
#include "hex_bytes.h"
#include "model/hex_codec.h"
#include "presenter/window_presenter.h"
#include "protocol/frames.h"

#include <doctest/doctest.h>

using namespace sg::transfer;
using sg::model::ByteString;
using sg::presenter::WindowPresenter;

namespace {

// The echoed request followed by the device's 11-byte answer carrying block.
ByteString Reply(const ByteString &request, const std::string &blockHex)
{
    ByteString reply = request;
    const ByteString block = Bytes(blockHex);
    ByteString answer{0x44, 0x0B};
    answer.insert(answer.end(), block.begin(), block.end());
    answer.push_back(sg::protocol::Checksum(answer));
    reply.insert(reply.end(), answer.begin(), answer.end());
    return reply;
}

struct Rig
{
    Journal journal;
    FakeView view{journal};
    sg::protocol::FixedPortLister ports{
        sg::protocol::PortCatalog({{.label = "ttyS0", .device = "/dev/ttyS0"},
                                   {.label = "ttyUSB0", .device = "/dev/ttyUSB0"},
                                   {.label = "sim", .device = "/dev/pts/9"}})};
    FakeLink link{journal};
    FakeTicker ticker{journal};
    FakeAlerts alerts{journal};
    TransferEngine engine{link, ticker};
    WindowPresenter presenter{view, ports, engine, alerts};

    void answerLast(const std::string &blockHex) { link.arrive(Reply(link.sent.back(), blockHex)); }
    bool idleAndTidy() const
    {
        return engine.state() == TransferState::Idle && !ticker.running && !link.open_ &&
               view.readEnabled && view.storeEnabled;
    }
};

const std::string PARAMS = "00010040190A0003";
const std::string DATA = "1122334455667788";

} // namespace

TEST_CASE("a Read shows both blocks, the data cut to the device's length")
{
    const struct
    {
        std::string lengthByte;
        std::string shown;
    } rows[] = {{"00", ""}, {"03", "112233"}, {"08", DATA}, {"FF", DATA}};
    for (const auto &row : rows) {
        CAPTURE(row.lengthByte);
        Rig rig;
        rig.view.fields.data = u"ABCD";
        rig.view.com = u" 3";

        rig.presenter.readPressed();
        CHECK(rig.link.device == "/dev/pts/9");
        CHECK(ToHex(rig.link.sent.at(0)) == "4405180059");
        CHECK(rig.engine.state() == TransferState::ReadCheckParams);
        CHECK((rig.ticker.running && !rig.view.readEnabled && !rig.view.storeEnabled));

        rig.answerLast("01020304050607" + row.lengthByte);
        rig.engine.tick();
        CHECK(rig.engine.state() == TransferState::ReadCheckData);
        CHECK(ToHex(rig.link.sent.at(1)) == "4405181049");
        CHECK(Ascii(rig.view.fields.params[7]) == row.lengthByte);
        CHECK(Ascii(rig.view.fields.params[0]) == "01");

        rig.view.fields.params[7] = u"00"; // a focus change must not cut the message short
        rig.answerLast(DATA);
        rig.engine.tick();
        CHECK(Ascii(rig.view.fields.data) == row.shown);
        CHECK(rig.idleAndTidy());
        CHECK(rig.alerts.shown.empty());
        // A Read changes only the boxes.
        CHECK(ToHex(rig.presenter.blocks().data) == "ABCD");
    }
}

TEST_CASE("a Store writes both blocks one tick apart")
{
    Rig rig;
    rig.view.fields.data = u"01020304";
    rig.view.fields.params[1] = u"1";

    rig.presenter.storePressed();
    CHECK(ToHex(rig.link.sent.at(0)) == "440928100102030471");
    CHECK(rig.engine.state() == TransferState::StoreSendParams);

    rig.link.arrive(Bytes("00")); // a Store never looks at what comes back
    rig.engine.tick();
    CHECK(ToHex(rig.link.sent.at(1)) == "440D2800000100000000000464");
    CHECK(rig.engine.state() == TransferState::StoreFinish);
    CHECK(rig.ticker.running);

    rig.view.fields.params[7] = u"FF";
    rig.engine.tick();
    CHECK(rig.idleAndTidy());
    CHECK(Ascii(rig.view.fields.params[7]) == "04");
    CHECK(rig.link.sent.size() == 2);
}

TEST_CASE("a port that gets ready after its open: the first frame then, and the timer with it")
{
    for (const bool lost : {false, true}) {
        CAPTURE(lost);
        Rig rig;
        rig.link.ready_ = false;
        rig.presenter.readPressed();
        rig.presenter.storePressed(); // the buttons are off already; a second press is nothing
        CHECK(rig.journal == Journal{"open", "disable read", "disable store"});
        CHECK((rig.link.sent.empty() && !rig.ticker.running && rig.engine.busy()));
        rig.link.ready_ = true;
        lost ? rig.engine.deviceLost() : rig.engine.linkReady();
        CHECK(rig.ticker.running == !lost);
        CHECK(rig.link.sent.size() == (lost ? 0U : 1U));
        CHECK(rig.engine.state() == (lost ? TransferState::Idle : TransferState::ReadCheckParams));
        CHECK(rig.alerts.shown.size() == (lost ? 1U : 0U));
    }
}

TEST_CASE("an incomplete reply is no response, told after the transfer has ended")
{
    const struct
    {
        const char *name;
        bool atDataCheck;
        std::size_t received;
    } rows[] = {
        {"params: nothing", false, 0},    {"params: echo only", false, 5},
        {"params: one short", false, 15}, {"params: one stray byte", false, 17},
        {"data: nothing", true, 0},       {"data: one stray byte", true, 17},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        Rig rig;
        rig.presenter.readPressed();
        if (row.atDataCheck) {
            rig.answerLast(PARAMS);
            rig.engine.tick();
        }
        ByteString reply = Reply(rig.link.sent.back(), DATA);
        reply.resize(row.received, 0x00);
        rig.link.arrive(reply);
        rig.journal.clear();
        rig.engine.tick();

        const Journal expected{"enable read", "enable store", "stop timer", "close",
                               "warning ERROR! No response."};
        CHECK(rig.journal == expected);
        CHECK(rig.idleAndTidy());
        CHECK(Ascii(rig.view.fields.params[3]) == (row.atDataCheck ? "40" : "00"));
        CHECK(Ascii(rig.view.fields.data) == "0000");
    }
}

TEST_CASE("a transfer that cannot start says so once and leaves everything idle")
{
    const struct
    {
        const char *name;
        std::u16string com;
        bool openWorks;
        bool sendWorks;
        bool opened;
    } rows[] = {
        {"letter", u"x", true, true, false},         {"empty", u"", true, true, false},
        {"three digits", u"100", true, true, false}, {"unknown number", u"7", true, true, false},
        {"open refused", u"1", false, true, true},   {"send refused", u"2", true, false, true},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        Rig rig;
        rig.view.com = row.com;
        rig.link.openWorks = row.openWorks;
        rig.link.sendWorks = row.sendWorks;
        rig.view.fields.data = u"abc";
        rig.link.waiting = Bytes("FF");
        rig.engine.bytesArrived();

        rig.presenter.storePressed();

        REQUIRE(rig.alerts.shown.size() == 1);
        CHECK(rig.alerts.shown[0].kind == "critical");
        CHECK(rig.alerts.shown[0].text == "ERROR! Check COM settings");
        CHECK_FALSE(rig.alerts.shown[0].detail.empty());
        CHECK(rig.ticker.starts == 0);
        CHECK(rig.idleAndTidy());
        // What came before the failing step stays done.
        CHECK(Ascii(rig.view.fields.data) == "ABC0");
        CHECK(ToHex(rig.engine.buffers().txFrame) == "44072810ABC010");
        CHECK(rig.engine.buffers().rxBuffer.empty());
        CHECK((rig.journal.front() == "open") == row.opened);
        CHECK(rig.link.sent.empty());
    }
}

TEST_CASE("a link failure inside a transfer is a COM error with the link's reason")
{
    enum How
    {
        SEND_FAILS,
        LOSS_TOLD,
        LOSS_FOUND_AT_TICK, // the link closed and has not told yet
    };
    for (const bool read : {false, true}) {
        for (const How how : {SEND_FAILS, LOSS_TOLD, LOSS_FOUND_AT_TICK}) {
            CAPTURE(read);
            CAPTURE(how);
            Rig rig;
            read ? rig.presenter.readPressed() : rig.presenter.storePressed();
            if (how != SEND_FAILS) {
                rig.link.open_ = false;
                how == LOSS_TOLD ? rig.engine.deviceLost() : rig.engine.tick();
            } else {
                rig.link.sendWorks = false;
                if (read)
                    rig.answerLast(PARAMS);
                rig.engine.tick();
            }
            REQUIRE(rig.alerts.shown.size() == 1);
            CHECK(rig.alerts.shown[0].text == "ERROR! Check COM settings");
            CHECK(rig.alerts.shown[0].detail == "/dev/fake: reason");
            CHECK(rig.idleAndTidy());
            rig.engine.tick();
            CHECK(rig.alerts.shown.size() == 1);
        }
    }
}

// The end is told once, last: after the message and with everything idle already. Only a
// Read that succeeded carries blocks, and a failure's reason is the message's detail.
TEST_CASE("the end is told once and last")
{
    const struct
    {
        std::string how;
        TransferEnd end;
        std::string before;
    } rows[] = {
        {"read", TransferEnd::Ok, "close"},
        {"store", TransferEnd::Ok, "enable store"},
        {"silent", TransferEnd::NoResponse, "warning ERROR! No response."},
        {"silent data", TransferEnd::NoResponse, "warning ERROR! No response."},
        {"bad COM", TransferEnd::ComError, "critical ERROR! Check COM settings"},
        {"missing port", TransferEnd::ComError, "critical ERROR! Check COM settings"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.how);
        // Hears the engine after the presenter has.
        struct Listener : TransferEvents
        {
            Rig *rig = nullptr;
            std::vector<TransferOutcome> heard;
            bool idleWhenHeard = false;
            void paramsRead(const sg::model::ParamBlock &p) override
            {
                rig->presenter.paramsRead(p);
            }
            void transferEnding(const TransferOutcome &o) override
            {
                rig->presenter.transferEnding(o);
            }
            void transferEnded(const TransferOutcome &outcome) override
            {
                rig->presenter.transferEnded(outcome);
                heard.push_back(outcome);
                idleWhenHeard = rig->idleAndTidy();
            }
        } listener;
        Rig rig;
        listener.rig = &rig;
        rig.engine.setEvents(&listener);
        rig.view.com = row.how == "bad COM" ? u"x" : row.how == "missing port" ? u"7" : u"3";
        row.how == "store" ? rig.presenter.storePressed() : rig.presenter.readPressed();
        for (int tick = 0; tick < 2 && listener.heard.empty(); ++tick) {
            if (row.how == "read" || (row.how == "silent data" && tick == 0))
                rig.answerLast(tick == 0 ? PARAMS : DATA);
            rig.engine.tick();
        }
        REQUIRE(listener.heard.size() == 1);
        const TransferOutcome &outcome = listener.heard[0];
        CHECK(outcome.end == row.end);
        CHECK(outcome.read == (row.how != "store"));
        CHECK(listener.idleWhenHeard);
        CHECK(rig.journal.back() == row.before);
        if (row.how == "read") {
            CHECK(sg::model::BytesToHex(outcome.blocks.data) == u"112233");
            CHECK(ToHex(outcome.blocks.params) == PARAMS);
        } else {
            CHECK(outcome.blocks.data.empty());
            CHECK(outcome.blocks.params == sg::model::ParamBlock{});
        }
        if (row.end == TransferEnd::Ok)
            CHECK(rig.alerts.shown.empty());
        else
            CHECK(outcome.reason == rig.alerts.shown.at(0).detail);
        if (row.how == "missing port")
            CHECK(outcome.reason ==
                  "COM7: no such port on this computer; ports here: COM1, COM2, COM3");
        if (row.end == TransferEnd::ComError)
            CHECK_FALSE(outcome.reason.empty());
    }
}

TEST_CASE("the next transfer works after a failure")
{
    Rig rig;
    rig.presenter.readPressed();
    rig.engine.tick(); // no response
    rig.presenter.readPressed();
    CHECK(rig.engine.state() == TransferState::ReadCheckParams);
    CHECK(rig.link.sent.size() == 2);
}

TEST_CASE("the tooltips say what each box means as it stands, and which ports there are")
{
    Rig rig;
    rig.view.fields.data = u"4869";
    rig.view.fields.params[1] = u"5";
    CHECK(rig.presenter.toolTip({"TXTdata"}).starts_with("2 bytes: 48 69"));
    CHECK(rig.presenter.toolTip({"Text1", 1}).find("bit 2 = 1: odd parity") != std::string::npos);
    CHECK(rig.presenter.toolTip({"TXTcom"}) == rig.ports.catalog().text());
    CHECK(rig.view.fields.data == u"4869"); // read, not repaired
}

TEST_CASE("leaving a block's box repairs the boxes, leaving the COM box does not")
{
    const struct
    {
        sg::form::ControlRef box;
        bool repairs;
    } rows[] = {
        {{"TXTdata"}, true}, {{"Text1", 0}, true}, {{"Text1", 7}, true}, {{"TXTcom"}, false}};
    for (const auto &row : rows) {
        CAPTURE(row.box.name);
        Rig rig;
        rig.view.fields.params[0] = u"5";
        rig.presenter.boxLeft(row.box);
        CHECK(rig.view.fields.params[0] == (row.repairs ? u"05" : u"5"));
    }
}
