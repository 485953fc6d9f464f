#pragma once

#include "model/byte_string.h"

#include <cstdint>
#include <string>

namespace sg::remote {

enum class StreamFailure
{
    UnknownHost,
    Refused,
    Closed, // by the server, or the network, after the connection stood
    Other
};

// What a stream tells the one who drives it; called on the event loop.
class StreamListener
{
public:
    virtual ~StreamListener() = default;

    // The host's addresses are known; connecting to them starts now.
    virtual void lookedUp() = 0;
    virtual void connected() = 0;
    virtual void bytesArrived() = 0;
    // The stream is closed already; systemText is the system's own words.
    virtual void streamFailed(StreamFailure failure, const std::string &systemText) = 0;
};

// One TCP connection, connected without blocking the loop: the platform's sockets.
class ByteStream
{
public:
    virtual ~ByteStream() = default;

    virtual void setListener(StreamListener *listener) = 0;
    // Looks the host up and connects to the first of its addresses that answers, trying
    // them as RFC 8305 does; the answer comes to the listener. A lookup given up by close()
    // never holds the program.
    virtual void connectTo(const std::string &host, std::uint16_t port) = 0;
    // Queues bytes on a connected stream; false when it cannot take them.
    virtual bool write(const model::ByteString &bytes) = 0;
    virtual model::ByteString takeInput() = 0;
    // Sends what is queued, then closes; no call to the listener follows.
    virtual void close() = 0;
};

} // namespace sg::remote
