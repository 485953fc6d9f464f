#include "win32/comm_link.h"

#include "protocol/port.h"

#include "win32/comm_errors.h"
#include "win32/line_settings.h"
#include "win32/wide_text.h"

#include <algorithm>

namespace sg::win32 {

namespace {

constexpr DWORD CHUNK_BYTES = 1024;
// A line that floods cannot keep a tick from ending.
constexpr int MAX_DRAIN_ROUNDS = 64;

// "\\.\COM12" is shown as the user typed it: COM12.
std::string NameOf(const std::string &device)
{
    using protocol::DEVICE_PREFIX;
    return device.starts_with(DEVICE_PREFIX) ? device.substr(DEVICE_PREFIX.size()) : device;
}

} // namespace

CommLink::CommLink(MessageLoop &loop, CommApi &api)
    : m_loop(loop), m_api(api),
      m_io([this](OverlappedIo::Kind kind, DWORD error, DWORD count,
                  const model::ByteString &bytes) { ioDone(kind, error, count, bytes); }),
      m_notice(loop, [this] { tell(); })
{
}

CommLink::~CommLink()
{
    close();
    m_loop.forget(this);
}

void CommLink::setListener(protocol::SerialLinkListener *listener)
{
    m_listener = listener;
}

bool CommLink::isOpen() const
{
    return m_port != INVALID_HANDLE_VALUE;
}

bool CommLink::open(const std::string &device)
{
    m_name = NameOf(device);
    const HANDLE port = m_api.createFile(Widen(device));
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // Numbers open whether the drivers list them or not, so only the open finds one
        // missing; the resolver then names the ports there are.
        m_portMissing = code == ERROR_FILE_NOT_FOUND;
        m_lastError = DescribeOpenFailure(m_name, code);
        return false;
    }
    m_portMissing = false;
    // Only advice to the driver, which may keep its own sizes.
    m_api.setupComm(port, IN_QUEUE_BYTES, OUT_QUEUE_BYTES);
    DCB line = LineSettings();
    COMMTIMEOUTS timeouts = LineTimeouts();
    if (!m_api.setCommState(port, line) || !m_api.setCommTimeouts(port, timeouts)) {
        m_lastError = DescribeOpenFailure(m_name, GetLastError());
        m_api.closeHandle(port);
        return false;
    }
    // Whatever waited before the open belongs to no request of ours.
    m_api.purgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    m_port = port;
    m_input.clear();
    m_arrived = m_lost = false;
    if (!startRead()) {
        m_lastError = DescribeOpenFailure(m_name, GetLastError());
        closePort();
        return false;
    }
    return true;
}

bool CommLink::startRead()
{
    return m_io.start(OverlappedIo::Kind::Read, model::ByteString(CHUNK_BYTES),
                      [this](OVERLAPPED &io, model::ByteString &bytes) {
                          return m_api.readFileEx(m_port, bytes.data(), CHUNK_BYTES, io,
                                                  &OverlappedIo::FileDone) != FALSE;
                      });
}

void CommLink::ioDone(OverlappedIo::Kind kind, DWORD error, DWORD count,
                      const model::ByteString &bytes)
{
    if (kind == OverlappedIo::Kind::Read)
        readDone(error, count, bytes);
    else
        writeDone(error, count, bytes.size());
}

void CommLink::readDone(DWORD error, DWORD count, const model::ByteString &bytes)
{
    if (error != ERROR_SUCCESS) {
        lose(DescribeLineFailure(m_name, error));
        return;
    }
    m_input.insert(m_input.end(), bytes.begin(), bytes.begin() + count);
    // A read may end with no byte on a line that is still there: only a failing call
    // means the port is gone.
    DWORD errors = 0;
    COMSTAT status{};
    if (!m_api.clearCommError(m_port, errors, status)) {
        lose(DescribeLineFailure(m_name, GetLastError()));
        return;
    }
    if (count == 0) {
        // From the loop: a driver that ends every read at once, empty, would otherwise
        // keep the thread inside one wait's routines, and no tick or message would run.
        m_loop.defer(this, [this] { readAgain(); });
        return;
    }
    m_arrived = true;
    readAgain();
    m_notice.post();
}

void CommLink::readAgain()
{
    if (isOpen() && !m_io.reading() && !startRead())
        lose(DescribeLineFailure(m_name, GetLastError()));
}

bool CommLink::send(const model::ByteString &bytes)
{
    if (!isOpen()) {
        m_lastError = m_name + ": the port is not open";
        return false;
    }
    const bool started = m_io.start(
        OverlappedIo::Kind::Write, bytes, [this](OVERLAPPED &io, model::ByteString &frame) {
            return m_api.writeFileEx(m_port, frame.data(), static_cast<DWORD>(frame.size()), io,
                                     &OverlappedIo::FileDone) != FALSE;
        });
    if (!started)
        m_lastError = DescribeLineFailure(m_name, GetLastError());
    return started;
}

// The frame is on its way when send() returns; one that does not leave whole ends the
// port as a failed read does.
void CommLink::writeDone(DWORD error, DWORD count, std::size_t size)
{
    if (error != ERROR_SUCCESS)
        lose(DescribeLineFailure(m_name, error));
    else if (count != size)
        lose(m_name + ": the port took " + std::to_string(count) + " of " + std::to_string(size) +
             " bytes");
}

model::ByteString CommLink::takeInput()
{
    // Reads that have ended but whose routines have not run yet count too. Their routines
    // only collect: the listener hears of them here or later from the loop, never inside.
    for (int round = 0; round < MAX_DRAIN_ROUNDS && SleepEx(0, TRUE) == WAIT_IO_COMPLETION;
         ++round) {
    }
    m_arrived = false;
    model::ByteString bytes;
    bytes.swap(m_input);
    // A port found gone at a tick ends the transfer now, as one found by the loop does.
    if (std::exchange(m_lost, false) && m_listener)
        m_listener->deviceLost();
    return bytes;
}

void CommLink::lose(const std::string &reason)
{
    m_lastError = reason;
    closePort();
    m_lost = true;
    m_notice.post();
}

void CommLink::tell()
{
    if (!m_listener) {
        m_arrived = m_lost = false;
    } else if (std::exchange(m_lost, false)) {
        m_arrived = false;
        m_listener->deviceLost();
    } else if (std::exchange(m_arrived, false)) {
        m_listener->bytesArrived();
    }
}

void CommLink::close()
{
    closePort();
    m_notice.cancel();
    m_input.clear();
    m_arrived = m_lost = false;
}

void CommLink::closePort()
{
    if (!isOpen())
        return;
    // CancelIo would wait for this thread's requests to end, which a driver whose
    // adapter is gone may never do.
    m_api.cancelIoEx(m_port);
    // Their routines free them when the driver lets go, if it ever does.
    m_io.letGo();
    m_api.closeHandle(m_port);
    m_port = INVALID_HANDLE_VALUE;
}

std::string CommLink::lastError() const
{
    return m_lastError;
}

} // namespace sg::win32
