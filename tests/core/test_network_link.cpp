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

TEST_CASE("a frame sent at once goes out when the server is ready, and no sooner")
{
    const struct
    {
        const char *name;
        const char *address;
        std::function<void(Rig &)> server;
        std::vector<std::string> journal;
    } rows[] = {
        {"raw: at the connection",
         "socket://bench3:4001",
         [](Rig &rig) { rig.fakes.stream->connected(); },
         {"connect bench3 4001", "write 44FF18"}},
        {"RFC 2217: once the line is confirmed, FF doubled",
         "rfc2217://[fe80::1]:2217",
         [](Rig &rig) {
             rig.fakes.stream->connected();
             rig.arrive("FFFD2C");
             rig.waitMs(NetworkLink::CONFIRM_LIMIT_MS - NetworkLink::STEP_MS);
             rig.arrive(CONFIRMED);
         },
         {"connect fe80::1 2217", Written(GREETING), Written(LINE_REQUEST), "write 44FFFF18"}},
        {"RFC 2217: a server that answers but confirms nothing, after the bound",
         "rfc2217://bench3:4001",
         [](Rig &rig) {
             rig.fakes.stream->connected();
             rig.arrive("FFFD2C");
             rig.waitMs(NetworkLink::CONFIRM_LIMIT_MS - NetworkLink::STEP_MS);
             rig.fakes.journal.push_back("bound");
             rig.waitMs(NetworkLink::STEP_MS);
         },
         {"connect bench3 4001", Written(GREETING), Written(LINE_REQUEST), "bound",
          "write 44FFFF18"}},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        Rig rig;
        REQUIRE(rig.link.open(row.address));
        CHECK(rig.link.send(Bytes("44 FF 18")));
        row.server(rig);
        CHECK(rig.fakes.journal == row.journal);
        CHECK_FALSE(rig.fakes.ticking);
        rig.fakes.journal.clear();
        rig.arrive("440D");
        CHECK(ToHex(rig.link.takeInput()) == "440D");
        CHECK(rig.fakes.journal == std::vector<std::string>{"bytes"});
    }
}

TEST_CASE("a server that fails the link closes it with words and tells the listener")
{
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
             rig.arrive("506F727420696E207573650D0A"); // "Port in use\r\n"
             rig.fakes.stream->streamFailed(StreamFailure::Closed, "closed");
         },
         "bench3:4001: the server closed the connection (it said: Port in use)"},
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
        {"no connection", "socket://bench3:4001",
         [](Rig &rig) { rig.waitMs(NetworkLink::CONNECT_LIMIT_MS); },
         "bench3:4001: no connection within 1 s: is the server reachable?"},
        {"a mute listener", "rfc2217://bench3:4001",
         [](Rig &rig) {
             rig.fakes.stream->connected();
             rig.waitMs(NetworkLink::CONFIRM_LIMIT_MS);
         },
         "bench3:4001: the server said nothing after the connection: is this an RFC 2217 port? "
         "For a raw TCP port, use socket://"},
        {"another rate", "rfc2217://bench3:4001",
         [](Rig &rig) {
             rig.fakes.stream->connected();
             rig.arrive("FFFA2C6500004B00FFF0");
         },
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
    }
}

TEST_CASE("an address that is not one fails the open at once")
{
    Rig rig;
    CHECK_FALSE(rig.link.open("socket://bench3"));
    CHECK(rig.link.lastError() == "'socket://bench3': the port number is missing (HOST:PORT)");
    CHECK(rig.fakes.journal.empty());
}
