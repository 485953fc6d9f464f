#include "win32/comm_api.h"

namespace sg::win32 {

namespace {

class SystemComm : public CommApi
{
public:
    HANDLE createFile(const std::wstring &path) override
    {
        return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    }
    BOOL setupComm(HANDLE port, DWORD inQueue, DWORD outQueue) override
    {
        return SetupComm(port, inQueue, outQueue);
    }
    BOOL setCommState(HANDLE port, DCB &line) override { return SetCommState(port, &line); }
    BOOL setCommTimeouts(HANDLE port, COMMTIMEOUTS &timeouts) override
    {
        return SetCommTimeouts(port, &timeouts);
    }
    BOOL purgeComm(HANDLE port, DWORD flags) override { return PurgeComm(port, flags); }
    BOOL clearCommError(HANDLE port, DWORD &errors, COMSTAT &status) override
    {
        return ClearCommError(port, &errors, &status);
    }
    BOOL readFileEx(HANDLE port, void *buffer, DWORD size, OVERLAPPED &io,
                    LPOVERLAPPED_COMPLETION_ROUTINE done) override
    {
        return ReadFileEx(port, buffer, size, &io, done);
    }
    BOOL writeFileEx(HANDLE port, const void *bytes, DWORD size, OVERLAPPED &io,
                     LPOVERLAPPED_COMPLETION_ROUTINE done) override
    {
        return WriteFileEx(port, bytes, size, &io, done);
    }
    BOOL cancelIoEx(HANDLE port) override { return CancelIoEx(port, nullptr); }
    BOOL closeHandle(HANDLE port) override { return CloseHandle(port); }
};

} // namespace

CommApi &SystemCommApi()
{
    static SystemComm api;
    return api;
}

} // namespace sg::win32
