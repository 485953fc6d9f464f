#include "win32/overlapped_io.h"

#include <algorithm>

namespace sg::win32 {

struct OverlappedIo::Request
{
    OVERLAPPED overlapped{}; // first, so that the routine finds the rest
    OverlappedIo *owner = nullptr;
    Kind kind = Kind::Read;
    model::ByteString bytes;
};

bool OverlappedIo::start(Kind kind, model::ByteString bytes, const Issue &issue)
{
    auto *request = new Request{{}, this, kind, std::move(bytes)};
    if (!issue(request->overlapped, request->bytes)) {
        const DWORD code = GetLastError();
        delete request;
        SetLastError(code);
        return false;
    }
    m_requests.push_back(request);
    return true;
}

bool OverlappedIo::reading() const
{
    return std::any_of(m_requests.begin(), m_requests.end(),
                       [](const Request *request) { return request->kind == Kind::Read; });
}

void OverlappedIo::letGo()
{
    for (Request *request : m_requests)
        request->owner = nullptr;
    m_requests.clear();
}

void CALLBACK OverlappedIo::FileDone(DWORD error, DWORD count, OVERLAPPED *io)
{
    Ended(io, error, count);
}

void CALLBACK OverlappedIo::SocketDone(DWORD error, DWORD count, OVERLAPPED *io, DWORD)
{
    Ended(io, error, count);
}

void OverlappedIo::Ended(OVERLAPPED *io, DWORD error, DWORD count)
{
    auto *request = reinterpret_cast<Request *>(io);
    OverlappedIo *owner = request->owner;
    if (owner)
        std::erase(owner->m_requests, request);
    const Kind kind = request->kind;
    const model::ByteString bytes = std::move(request->bytes);
    delete request;
    if (owner)
        owner->m_onDone(kind, error, count, bytes);
}

} // namespace sg::win32
