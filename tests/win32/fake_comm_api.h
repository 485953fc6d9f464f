#pragma once

#include "win32/comm_api.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A serial driver as Microsoft documents real ones: reads may end with no byte, an
// adapter pulled out fails I/O with removal codes or never completes it, a held port
// is refused at open, and equal XON and XOFF characters are refused. Completions are
// queued to the thread as a driver's are, and run in its next alertable wait.
class FakeComm : public sg::win32::CommApi
{
public:
    DWORD openError = ERROR_SUCCESS;
    DWORD clearError = ERROR_SUCCESS;
    bool hangs = false;   // removed: nothing completes, not even a cancel
    DWORD shortWrite = 0; // a write ends having taken this many bytes, if not 0
    int emptyReads = 0;   // this many reads end at once with no byte, however they wait
    std::vector<std::string> calls;
    std::vector<DCB> states;
    COMMTIMEOUTS timeouts{};

    // Bytes off the line: the pending read takes what it asked for, the rest waits.
    void arrive(const std::vector<std::uint8_t> &bytes)
    {
        m_queue.insert(m_queue.end(), bytes.begin(), bytes.end());
        fillRead();
    }
    void endRead(DWORD error)
    {
        if (m_read.done)
            complete(std::exchange(m_read.done, nullptr), error, 0, m_read.io);
    }
    // The driver lets go at last: held writes end as cancelled.
    void release()
    {
        hangs = false;
        for (const auto &[done, io] : std::exchange(m_heldWrites, {}))
            complete(done, ERROR_OPERATION_ABORTED, 0, io);
    }

    HANDLE createFile(const std::wstring &) override
    {
        calls.push_back("CreateFile");
        SetLastError(openError);
        return openError ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(0x1234);
    }
    BOOL setupComm(HANDLE, DWORD, DWORD) override { return called("SetupComm"); }
    BOOL setCommState(HANDLE, DCB &line) override
    {
        states.push_back(line);
        return line.XonChar == line.XoffChar ? fail(ERROR_INVALID_PARAMETER)
                                             : called("SetCommState");
    }
    BOOL setCommTimeouts(HANDLE, COMMTIMEOUTS &set) override
    {
        timeouts = set;
        return called("SetCommTimeouts");
    }
    BOOL purgeComm(HANDLE, DWORD) override { return called("PurgeComm"); }
    BOOL clearCommError(HANDLE, DWORD &errors, COMSTAT &status) override
    {
        errors = 0;
        status = COMSTAT{0, 0, 0, 0, 0, 0, 0, 0, static_cast<DWORD>(m_queue.size()), 0};
        return clearError ? fail(clearError) : TRUE;
    }
    BOOL readFileEx(HANDLE, void *buffer, DWORD size, OVERLAPPED &io,
                    LPOVERLAPPED_COMPLETION_ROUTINE done) override
    {
        m_read = {static_cast<std::uint8_t *>(buffer), size, &io, done};
        if (emptyReads > 0 && m_queue.empty() && !hangs) {
            --emptyReads;
            endRead(ERROR_SUCCESS);
        }
        fillRead();
        return TRUE;
    }
    BOOL writeFileEx(HANDLE, const void *, DWORD size, OVERLAPPED &io,
                     LPOVERLAPPED_COMPLETION_ROUTINE done) override
    {
        if (hangs)
            m_heldWrites.emplace_back(done, &io);
        else
            complete(done, ERROR_SUCCESS, shortWrite ? shortWrite : size, &io);
        return TRUE;
    }
    // CancelIo would wait here, with hangs, for ever.
    BOOL cancelIoEx(HANDLE) override
    {
        calls.push_back("CancelIoEx");
        if (!hangs)
            endRead(ERROR_OPERATION_ABORTED);
        return TRUE;
    }
    BOOL closeHandle(HANDLE) override { return called("CloseHandle"); }

private:
    struct Read
    {
        std::uint8_t *buffer = nullptr;
        DWORD size = 0;
        OVERLAPPED *io = nullptr;
        LPOVERLAPPED_COMPLETION_ROUTINE done = nullptr;
    };
    static void complete(LPOVERLAPPED_COMPLETION_ROUTINE done, DWORD error, DWORD count,
                         OVERLAPPED *io)
    {
        const auto deliver = [](ULONG_PTR call) {
            const std::unique_ptr<std::function<void()>> owned(
                reinterpret_cast<std::function<void()> *>(call));
            (*owned)();
        };
        QueueUserAPC(deliver, GetCurrentThread(),
                     reinterpret_cast<ULONG_PTR>(
                         new std::function<void()>([=] { done(error, count, io); })));
    }
    void fillRead()
    {
        if (!m_read.done || m_queue.empty() || hangs)
            return;
        const DWORD count = std::min<DWORD>(m_read.size, static_cast<DWORD>(m_queue.size()));
        std::copy_n(m_queue.begin(), count, m_read.buffer);
        m_queue.erase(m_queue.begin(), m_queue.begin() + count);
        complete(std::exchange(m_read.done, nullptr), ERROR_SUCCESS, count, m_read.io);
    }
    BOOL called(const char *name) { return calls.push_back(name), TRUE; }
    static BOOL fail(DWORD code) { return SetLastError(code), FALSE; }

    Read m_read;
    std::vector<std::pair<LPOVERLAPPED_COMPLETION_ROUTINE, OVERLAPPED *>> m_heldWrites;
    std::deque<std::uint8_t> m_queue;
};
