#include "win32/tcp_stream.h"

#include <doctest/doctest.h>

#include <string>

namespace {

// What the stream told, in order; a connection or a failure ends the loop's run.
struct Heard : sg::remote::StreamListener
{
    std::string said;
    void lookedUp() override { said += "looked up, "; }
    void connected() override
    {
        said += "connected, ";
        PostQuitMessage(0);
    }
    void bytesArrived() override { said += "bytes, "; }
    void streamFailed(sg::remote::StreamFailure, const std::string &text) override
    {
        said += "failed: " + text;
        PostQuitMessage(0);
    }
};

} // namespace

// The first connection's receive ends, aborted, only when its routine runs, while the next
// connection is under way; it must neither end that one nor be told.
TEST_CASE("a stream closed and connected again hears nothing more of its first connection")
{
    WSADATA data{};
    REQUIRE(WSAStartup(MAKEWORD(2, 2), &data) == 0);
    const SOCKET server = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof at;
    REQUIRE((bind(server, reinterpret_cast<sockaddr *>(&at), size) == 0 && listen(server, 4) == 0 &&
             getsockname(server, reinterpret_cast<sockaddr *>(&at), &size) == 0));
    sg::win32::MessageLoop loop;
    sg::win32::TcpStream stream(loop);
    Heard heard;
    stream.setListener(&heard);
    for (int round = 0; round < 2; ++round) {
        stream.close();
        stream.connectTo("127.0.0.1", ntohs(at.sin_port));
        loop.run();
    }
    PostQuitMessage(0); // whatever is left to tell
    loop.run();
    CHECK(heard.said == "looked up, connected, looked up, connected, ");
    // Closed, not merely shut down: the first connection's peer, writing on, is soon refused.
    const SOCKET first = accept(server, nullptr, nullptr);
    bool refused = false;
    for (int tries = 0; tries < 200 && !refused; ++tries, Sleep(10))
        refused = send(first, "x", 1, 0) == SOCKET_ERROR;
    CHECK(refused);
    closesocket(first);
    // Closed while still connecting: the connection made after is closed once its routine runs.
    stream.close();
    stream.connectTo("127.0.0.1", ntohs(at.sin_port));
    stream.close();
    closesocket(accept(server, nullptr, nullptr)); // the second round's
    const SOCKET late = accept(server, nullptr, nullptr);
    u_long nonBlocking = 1;
    ioctlsocket(late, static_cast<long>(FIONBIO), &nonBlocking);
    char byte = 0;
    int got = SOCKET_ERROR;
    for (int tries = 0; tries < 200 && got != 0; ++tries, SleepEx(10, TRUE))
        got = recv(late, &byte, 1, 0);
    CHECK(got == 0);
    closesocket(late);
    closesocket(server);
    WSACleanup();
}
