#pragma once

#include <windows.h>

#include <string>

namespace sg::win32 {

// The comm calls a serial link makes, so that tests can stand in for a driver. Each
// behaves as its Win32 namesake, failures included (GetLastError tells why).
class CommApi
{
public:
    virtual ~CommApi() = default;

    virtual HANDLE createFile(const std::wstring &path) = 0; // overlapped, read and write
    virtual BOOL setupComm(HANDLE port, DWORD inQueue, DWORD outQueue) = 0;
    virtual BOOL setCommState(HANDLE port, DCB &line) = 0;
    virtual BOOL setCommTimeouts(HANDLE port, COMMTIMEOUTS &timeouts) = 0;
    virtual BOOL purgeComm(HANDLE port, DWORD flags) = 0;
    virtual BOOL clearCommError(HANDLE port, DWORD &errors, COMSTAT &status) = 0;
    virtual BOOL readFileEx(HANDLE port, void *buffer, DWORD size, OVERLAPPED &io,
                            LPOVERLAPPED_COMPLETION_ROUTINE done) = 0;
    virtual BOOL writeFileEx(HANDLE port, const void *bytes, DWORD size, OVERLAPPED &io,
                             LPOVERLAPPED_COMPLETION_ROUTINE done) = 0;
    // Every request of every thread on the port; it does not wait for them to end.
    virtual BOOL cancelIoEx(HANDLE port) = 0;
    virtual BOOL closeHandle(HANDLE port) = 0;
};

// The system's own calls.
CommApi &SystemCommApi();

} // namespace sg::win32
