#include "hex_bytes.h"
#include "remote/rfc2217_session.h"
#include "rfc2217_bytes.h"

#include <doctest/doctest.h>

using sg::remote::Rfc2217Session;

TEST_CASE("the session answers the server, confirms the line and keeps the device's bytes")
{
    const struct
    {
        const char *name;
        std::vector<std::string> pieces; // as the reads bring them
        std::string data;
        std::string reply;
        bool confirmed;
        std::string failure;
    } rows[] = {
        {"ser2net's greeting: ECHO refused, the line asked once",
         {"FFFB03 FFFD03 FFFB01 FFFE01 FFFD00 FFFB00 FFFD2C FFFD2C"},
         "",
         "FFFE01" + LINE_REQUEST,
         false,
         ""},
        {"confirmations split inside IAC sequences; SET-CONTROL never answered",
         {"FFFD2C FFFA2C6500", "002580FF", "F0FFFA2C6608FFF0FF", "FA2C6701FFF0FFFA2C6801FF", "F0"},
         "",
         LINE_REQUEST,
         true,
         ""},
        {"FF doubled in data, split between reads",
         {"41FF", "FF42 0D 11 13"},
         "41FF420D1113",
         "",
         false,
         ""},
        {"notifications and signature skipped",
         {"FFFA2C6B00FFF0 FFFA2C6A60FFF0 FFFA2C64414243FFF0 07"},
         "07",
         "",
         false,
         ""},
        {"other options refused, each once",
         {"FFFD18 FFFB05 FFFC03"},
         "",
         "FFFC18 FFFE05",
         false,
         ""},
        {"BINARY dropped by the server after agreeing",
         {"FFFB00 FFFC00 FFFE00"},
         "",
         "FFFE00",
         false,
         ""},
        {"BINARY refused, then asked for: agreed anew", {"FFFE00 FFFD00"}, "", "FFFB00", false, ""},
        {"another rate",
         {"FFFA2C6500004B00FFF0"},
         "",
         "",
         false,
         "the server set 19200 baud, not 9600"},
        {"seven data bits", {"FFFA2C6607FFF0"}, "", "", false, "the server set 7 data bits, not 8"},
        {"even parity", {"FFFA2C6703FFF0"}, "", "", false, "the server set parity even, not none"},
        {"1.5 stop bits", {"FFFA2C6803FFF0"}, "", "", false, "the server set 1.5 stop bits, not 1"},
        {"the option refused",
         {"FFFE2C"},
         "",
         "",
         false,
         "the server refuses RFC 2217 (the COM port option); for a raw TCP port, use socket://"},
        {"all confirmed", {CONFIRMED}, "", "", true, ""},
        {"a server that sends text: its CR NUL is a CR, split or not",
         {"FFFC00 410D00 42 0D", "00 0D0A"},
         "410D 42 0D 0D0A",
         "",
         false,
         ""},
        {"who the client is, when the server asks",
         {"FFFA2C64FFF0"},
         "",
         "FFFA2C00 736733 FFF0",
         false,
         ""},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        Rfc2217Session session("sg3");
        CHECK(ToHex(session.greeting()) == GREETING);
        sg::model::ByteString data;
        sg::model::ByteString reply;
        for (const std::string &piece : row.pieces)
            session.receive(Bytes(piece), data, reply);
        CHECK(ToHex(data) == ToHex(Bytes(row.data)));
        CHECK(ToHex(reply) == ToHex(Bytes(row.reply)));
        CHECK(session.lineConfirmed() == row.confirmed);
        CHECK(session.failure() == row.failure);
    }
}

TEST_CASE("only FF is doubled on the way out")
{
    CHECK(ToHex(Rfc2217Session().encode(Bytes("FF 00 0D 11 13 FE FF"))) == "FFFF000D1113FEFFFF");
}
