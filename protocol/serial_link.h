#pragma once

#include "model/byte_string.h"

#include <string>

namespace sg::protocol {

// What a serial link tells the one who drives it; called on the event loop.
class SerialLinkListener
{
public:
    virtual ~SerialLinkListener() = default;

    virtual void bytesArrived() = 0;
    // The port vanished while open, or could not be made ready; the link has closed it
    // already.
    virtual void deviceLost() = 0;
    // A link that was not ready when open() returned now takes frames.
    virtual void linkReady() {}
};

// One serial device, opened by its path. Every failing call leaves a reason in
// lastError(), naming the device and what the system said, for the user to read.
class SerialLink
{
public:
    virtual ~SerialLink() = default;

    virtual void setListener(SerialLinkListener *listener) = 0;
    virtual bool isOpen() const = 0;
    virtual bool open(const std::string &device) = 0;
    // Frames may go out. A local port is ready once open; a port behind a network server
    // only after its connection and line set-up, when it tells linkReady().
    virtual bool isReady() const { return isOpen(); }
    // True only when the whole frame was accepted; does not wait for it to leave.
    virtual bool send(const model::ByteString &bytes) = 0;
    // All bytes waiting, in arrival order, removed from the link.
    virtual model::ByteString takeInput() = 0;
    virtual void close() = 0;
    virtual std::string lastError() const = 0;
    // The last open failed because the system has no such port: the resolver, which
    // knows the ports there are, words that.
    virtual bool portMissing() const = 0;
};

} // namespace sg::protocol
