#include "hex_bytes.h"
#include "remote/network_link.h"
#include "rfc2217_bytes.h"

#include <doctest/doctest.h>

#include <functional>
#include <utility>

using namespace sg::remote;

namespace {

// The link's stream, timer and listener in one: a journal of what it did and told.
struct Fakes : sg::protocol::SerialLinkListener
{
    void bytesArrived() override { journal.push_back("bytes"); }
    void deviceLost() override { journal.push_back("lost"); }
    void linkReady() override { journal.push_back("ready"); }

    std::vector<std::string> journal;
    StreamListener *stream = nullptr;
    sg::model::ByteString incoming;
    std::function<void()> tick;
    bool ticking = false;
};

class FakeStream : public ByteStream
{
public:
    explicit FakeStream(Fakes &fakes) : m(fakes) {}

    void setListener(StreamListener *listener) override { m.stream = listener; }
    void connectTo(const std::string &host, std::uint16_t port) override
    {
        m.journal.push_back("connect " + host + " " + std::to_string(port));
    }
    bool write(const sg::model::ByteString &bytes) override
    {
        m.journal.push_back("write " + ToHex(bytes));
        return true;
    }
    sg::model::ByteString takeInput() override { return std::exchange(m.incoming, {}); }
    void close() override { m.journal.push_back("close"); }

    Fakes &m;
};

struct FakeTimer : sg::transfer::Ticker
{
    explicit FakeTimer(Fakes &fakes) : m(fakes) {}
    void start() override { m.ticking = true; }
    void stop() override { m.ticking = false; }

    Fakes &m;
};

struct Rig
{
    Rig()
        : link(std::make_unique<FakeStream>(fakes),
               [this](int periodMs, std::function<void()> onTick) {
                   CHECK(periodMs == NetworkLink::STEP_MS);
                   fakes.tick = std::move(onTick);
                   return std::make_unique<FakeTimer>(fakes);
               })
    {
        link.setListener(&fakes);
    }
    void arrive(const std::string &hex)
    {
        fakes.incoming = Bytes(hex);
        fakes.stream->bytesArrived();
    }
    void waitMs(int ms)
    {
        for (int waited = 0; waited < ms && fakes.ticking; waited += NetworkLink::STEP_MS)
            fakes.tick();
    }

    Fakes fakes;
    NetworkLink link;
};

// The journal's line for bytes written, given in hex with spaces.
std::string Written(const std::string &hex)
{
    return "write " + ToHex(Bytes(hex));
}

} // namespace

TEST_CASE("the link is ready once the server is, drops what came before, and then sends")
{
    const auto confirmedAfter = [](std::string before) {
        return [before](Rig &rig) {
            rig.fakes.stream->connected();
            rig.arrive(before + "FFFD2C 41 42");
            rig.waitMs(NetworkLink::CONFIRM_LIMIT_MS - NetworkLink::STEP_MS);
            rig.arrive(CONFIRMED);
        };
    };
    const std::vector<std::string> confirmed = {"connect bench3 4001", Written(GREETING),
                                                Written(LINE_REQUEST), Written(PURGE), "ready"};
    const struct
    {
        const char *name;
        const char *address;
        std::function<void(Rig &)> server;
        std::vector<std::string> journal;
        const char *frame; // as it goes out for 44 FF 0D 18
    } rows[] = {
        {"raw: a banner dropped, ready once the server is quiet",
         "socket://bench3:4001",
         [](Rig &rig) {
             rig.fakes.stream->lookedUp();
             rig.fakes.stream->connected();
             rig.waitMs(NetworkLink::QUIET_MS - 2 * NetworkLink::STEP_MS);
             rig.arrive("0D0A 736572326E6574 0D0A");
             rig.waitMs(NetworkLink::QUIET_MS - NetworkLink::STEP_MS);
             rig.fakes.journal.push_back("bound");
             rig.waitMs(NetworkLink::STEP_MS);
         },
         {"connect bench3 4001", "bound", "ready"},
         "44FF0D18"},
        {"RFC 2217: stale bytes dropped and purged, FF doubled", "rfc2217://bench3:4001",
         confirmedAfter(""), confirmed, "44FFFF0D18"},
        {"RFC 2217: BINARY refused, so CR goes as CR NUL", "rfc2217://bench3:4001",
         confirmedAfter("FFFE00"), confirmed, "44FFFF0D0018"},
        {"RFC 2217: a server that agrees but confirms nothing, after the bound",
         "rfc2217://[fe80::1%eth0]:2217",
         [](Rig &rig) {
             rig.fakes.stream->connected();
             rig.arrive("FFFD2C");
             rig.waitMs(NetworkLink::CONFIRM_LIMIT_MS - NetworkLink::STEP_MS);
             rig.fakes.journal.push_back("bound");
             rig.waitMs(NetworkLink::STEP_MS);
         },
         {"connect fe80::1%eth0 2217", Written(GREETING), Written(LINE_REQUEST), "bound",
          Written(PURGE), "ready"},
         "44FFFF0D18"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        Rig rig;
        REQUIRE(rig.link.open(row.address));
        CHECK_FALSE(rig.link.send(Bytes("44")));
        row.server(rig);
        CHECK(rig.fakes.journal == row.journal);
        CHECK_FALSE(rig.fakes.ticking);
        rig.fakes.journal.clear();
        CHECK(rig.link.send(Bytes("44 FF 0D 18")));
        rig.arrive("440D");
        CHECK(ToHex(rig.link.takeInput()) == "440D");
        rig.fakes.incoming = Bytes("0B"); // not yet announced, as under a modal loop
        CHECK(ToHex(rig.link.takeInput()) == "0B");
        CHECK(rig.fakes.journal ==
              std::vector<std::string>{"write " + std::string(row.frame), "bytes"});
    }
}

TEST_CASE("frames wait while the server has suspended the flow, and go at its resume")
{
    Rig rig;
    REQUIRE(rig.link.open("rfc2217://bench3:4001"));
    rig.fakes.stream->connected();
    rig.arrive("FFFD2C" + CONFIRMED + "FFFA2C6CFFF0");
    rig.fakes.journal.clear();
    CHECK(rig.link.send(Bytes("44 05")));
    CHECK(rig.link.send(Bytes("18")));
    CHECK(rig.fakes.journal.empty());
    rig.arrive("FFFA2C6DFFF0");
    CHECK(rig.fakes.journal == std::vector<std::string>{"write 440518"});
}

TEST_CASE("a server that fails the link closes it with words and tells the listener")
{
    // Connected, then the server sends hex and the link waits ms.
    const auto connectedThen = [](std::string hex, int ms) {
        return [hex, ms](Rig &rig) {
            rig.fakes.stream->connected();
            if (!hex.empty())
                rig.arrive(hex);
            rig.waitMs(ms);
        };
    };
    const auto failed = [](StreamFailure failure, const char *text) {
        return [failure, text](Rig &rig) { rig.fakes.stream->streamFailed(failure, text); };
    };
    const struct
    {
        const char *name;
        const char *address;
        std::function<void(Rig &)> server;
        std::string error;
    } rows[] = {
        {"unknown host", "socket://bench3:4001",
         failed(StreamFailure::UnknownHost, "Host not found"),
         "bench3:4001: unknown host 'bench3' (Host not found)"},
        {"refused", "socket://bench3:4001", failed(StreamFailure::Refused, "Connection refused"),
         "bench3:4001: connection refused: is the serial server running?"},
        {"other", "socket://bench3:4001", failed(StreamFailure::Other, "Network unreachable"),
         "bench3:4001: Network unreachable"},
        {"closed after saying why", "socket://bench3:4001",
         [](Rig &rig) {
             rig.fakes.stream->connected();
             rig.arrive("506F727420696E 0D0A 7573650D0A"); // "Port in\r\nuse\r\n"
             rig.fakes.stream->streamFailed(StreamFailure::Closed, "closed");
         },
         "bench3:4001: the server closed the connection (it said: Port in use)"},
        {"only the last 80 characters of a long speech", "socket://bench3:4001",
         [](Rig &rig) {
             std::string said = "4141"; // "AA", then 80 times "B"
             for (int i = 0; i < 80; ++i)
                 said += "42";
             rig.arrive(said);
             rig.fakes.stream->streamFailed(StreamFailure::Closed, "closed");
         },
         "bench3:4001: the server closed the connection (it said: " + std::string(80, 'B') + ")"},
        {"a new connection forgets what the last one said", "socket://bench3:4001",
         [](Rig &rig) {
             rig.arrive("506F727420696E20757365");
             rig.fakes.stream->streamFailed(StreamFailure::Closed, "closed");
             rig.link.open("socket://bench3:4001");
             rig.fakes.stream->streamFailed(StreamFailure::Closed, "closed");
         },
         "bench3:4001: the server closed the connection"},
        {"closed after a device's bytes", "rfc2217://bench3:4001",
         [](Rig &rig) {
             rig.arrive("44 0B");
             rig.fakes.stream->streamFailed(StreamFailure::Closed, "closed");
         },
         "bench3:4001: the server closed the connection"},
        {"a lookup that does not end", "socket://bench3:4001",
         [](Rig &rig) { rig.waitMs(NetworkLink::LOOKUP_LIMIT_MS); },
         "bench3:4001: could not look up 'bench3' within 5 s"},
        {"no connection", "socket://bench3:4001",
         [](Rig &rig) {
             rig.waitMs(NetworkLink::LOOKUP_LIMIT_MS - NetworkLink::STEP_MS);
             rig.fakes.stream->lookedUp();
             rig.waitMs(NetworkLink::CONNECT_LIMIT_MS);
         },
         "bench3:4001: no connection within 3 s: is the server reachable?"},
        {"a server that never agrees to the COM port option", "rfc2217://bench3:4001",
         connectedThen("FFFB2C", 1000),
         "bench3:4001: the server did not agree to RFC 2217 (the COM port option): for a raw "
         "TCP port, use socket://"},
        {"a subnegotiation that never ends", "rfc2217://bench3:4001",
         connectedThen("FFFA2C" + std::string(2 * Rfc2217Session::MOST_SUB_BYTES + 2, '6'), 0),
         "bench3:4001: the server sent a Telnet subnegotiation longer than 1024 bytes"},
        {"a mute listener", "rfc2217://bench3:4001",
         connectedThen("", 1000),
         "bench3:4001: the server said nothing after the connection: is this an RFC 2217 port? "
         "For a raw TCP port, use socket://"},
        {"another rate", "rfc2217://bench3:4001", connectedThen("FFFA2C6500004B00FFF0", 0),
         "bench3:4001: the server set 19200 baud, not 9600"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        Rig rig;
        REQUIRE(rig.link.open(row.address));
        row.server(rig);
        CHECK(rig.link.lastError() == row.error);
        CHECK_FALSE(rig.link.isOpen());
        CHECK_FALSE(rig.fakes.ticking);
        REQUIRE(rig.fakes.journal.size() >= 2);
        CHECK(rig.fakes.journal.back() == "lost");
        CHECK(rig.fakes.journal[rig.fakes.journal.size() - 2] == "close");
        CHECK_FALSE(rig.link.send(Bytes("44")));
        CHECK(rig.link.lastError() == row.error);
        // Opening again, it refuses a frame as not connected, not in the last failure's words.
        REQUIRE(rig.link.open(row.address));
        CHECK_FALSE(rig.link.send(Bytes("44")));
        CHECK(rig.link.lastError() == "bench3:4001: not connected");
    }
}

TEST_CASE("an address that is not one fails the open at once")
{
    Rig rig;
    CHECK_FALSE(rig.link.open("socket://bench3"));
    CHECK(rig.link.lastError() == "'socket://bench3': the port number is missing (HOST:PORT)");
    CHECK(rig.fakes.journal.empty());
    // Read no further than the text given, whatever follows it in memory.
    std::string error;
    CHECK_FALSE(ParseRemoteAddress(std::string_view("socket://[::1]:4001", 14), error));
    CHECK(error == "'socket://[::1]': expected [IPv6]:PORT");
}
