#pragma once

#include "model/byte_string.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace sg::win32 {

// The overlapped reads and writes of one handle, a port's or a socket's, each ended by a
// completion routine that an alertable wait runs. The system owns a request until its
// routine runs, which may be long after the handle was closed, or never; so at the close
// the requests are let go of, not freed, and a routine whose owner let go only frees its
// own.
class OverlappedIo
{
public:
    enum class Kind
    {
        Read,
        Write
    };
    // One request ended: the system's error (0 for none), the count it moved, and its
    // bytes (a read's whole buffer, a write's frame).
    using Done =
        std::function<void(Kind kind, DWORD error, DWORD count, const model::ByteString &bytes)>;
    // Issues the request with its OVERLAPPED and buffer; true when it is in flight.
    using Issue = std::function<bool(OVERLAPPED &io, model::ByteString &bytes)>;

    explicit OverlappedIo(Done onDone) : m_onDone(std::move(onDone)) {}
    ~OverlappedIo() { letGo(); }
    OverlappedIo(const OverlappedIo &) = delete;
    OverlappedIo &operator=(const OverlappedIo &) = delete;

    // False, with the system's error still the last one, when the request did not start.
    bool start(Kind kind, model::ByteString bytes, const Issue &issue);
    bool reading() const;
    // At the close, once the handle's requests are cancelled.
    void letGo();

    // The routines to issue requests with, for files and for sockets.
    static void CALLBACK FileDone(DWORD error, DWORD count, OVERLAPPED *io);
    static void CALLBACK SocketDone(DWORD error, DWORD count, OVERLAPPED *io, DWORD flags);

private:
    struct Request;

    static void Ended(OVERLAPPED *io, DWORD error, DWORD count);

    Done m_onDone;
    std::vector<Request *> m_requests;
};

} // namespace sg::win32
