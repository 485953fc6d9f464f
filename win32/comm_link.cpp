#include "win32/comm_link.h"

#include "win32/serial_ports.h"
#include "win32/wide_text.h"

#include <algorithm>

namespace sg::win32 {

namespace {

constexpr DWORD WRITE_TIMEOUT_MS = 1000;

// "\\.\COM12" is shown as the user typed it: COM12.
std::string NameOf(const std::string &device)
{
    const std::string prefix = R"(\\.\)";
    return device.starts_with(prefix) ? device.substr(prefix.size()) : device;
}

} // namespace

CommLink::CommLink(MessageLoop &loop)
    : m_loop(loop), m_readEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_writeEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_drainEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
}

CommLink::~CommLink()
{
    close();
}

void CommLink::setListener(protocol::SerialLinkListener *listener)
{
    m_listener = listener;
}

bool CommLink::isOpen() const
{
    return m_port.valid();
}

bool CommLink::open(const std::string &device)
{
    m_name = NameOf(device);
    m_port.reset(CreateFileW(Widen(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!m_port.valid()) {
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND)
            return fail(code);
        // A number that is not there: the ports that are there help more than "file not
        // found". A listed port that cannot be found keeps the system's reason.
        const protocol::PortCatalog listed = ListSerialPorts();
        if (listed.numberOf(m_name) != 0)
            return fail(code);
        m_lastError = protocol::MissingPortText(m_name, listed);
        return false;
    }
    if (!configure()) {
        const DWORD code = GetLastError();
        m_port.reset();
        return fail(code);
    }
    // Whatever waited before the open belongs to no request of ours.
    PurgeComm(m_port.get(), PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    m_input.clear();
    if (!m_loop.watch(m_readEvent.get(), [this] { readSignalled(); })) {
        m_port.reset();
        m_lastError = m_name + ": too many ports open at once (at most " +
                      std::to_string(MessageLoop::MAX_WATCHED - 1) + ")";
        return false;
    }
    startRead();
    return isOpen();
}

bool CommLink::configure()
{
    DCB line{};
    line.DCBlength = sizeof line;
    if (!GetCommState(m_port.get(), &line))
        return false;
    line.BaudRate = CBR_9600;
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    line.fBinary = TRUE;
    line.fParity = FALSE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDsrSensitivity = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fNull = FALSE;
    line.fAbortOnError = FALSE;
    line.fDtrControl = DTR_CONTROL_DISABLE;
    line.fRtsControl = RTS_CONTROL_DISABLE;
    if (!SetCommState(m_port.get(), &line))
        return false;
    // A device powered from the control lines wakes; lines that cannot be raised (a
    // pseudo-terminal behind wine) are no reason to fail.
    EscapeCommFunction(m_port.get(), SETDTR);
    EscapeCommFunction(m_port.get(), SETRTS);
    SetupComm(m_port.get(), 1024, 512);
    // Reads wait for what they ask for, however long: the pending one asks for one byte.
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = WRITE_TIMEOUT_MS;
    return SetCommTimeouts(m_port.get(), &timeouts) != FALSE;
}

bool CommLink::fail(DWORD code)
{
    m_lastError = m_name + ": " + SystemMessage(code);
    return false;
}

bool CommLink::send(const model::ByteString &bytes)
{
    if (!isOpen()) {
        m_lastError = m_name + ": the port is not open";
        return false;
    }
    OVERLAPPED write{};
    write.hEvent = m_writeEvent.get();
    ResetEvent(write.hEvent);
    DWORD written = 0;
    const auto size = static_cast<DWORD>(bytes.size());
    if (!WriteFile(m_port.get(), bytes.data(), size, nullptr, &write) &&
        GetLastError() != ERROR_IO_PENDING)
        return fail(GetLastError());
    // Bounded by the write timeout: the bytes only have to reach the driver.
    if (!GetOverlappedResult(m_port.get(), &write, &written, TRUE))
        return fail(GetLastError());
    if (written != size) {
        m_lastError = m_name + ": the port took " + std::to_string(written) + " of " +
                      std::to_string(size) + " bytes";
        return false;
    }
    return true;
}

void CommLink::startRead()
{
    m_read = OVERLAPPED{};
    m_read.hEvent = m_readEvent.get();
    ResetEvent(m_read.hEvent);
    // One byte: wine's comm reads on a pseudo-terminal end only when the count is met, and
    // its WaitCommEvent cannot wait there. The rest is taken at once when it ends.
    if (ReadFile(m_port.get(), m_chunk.data(), 1, nullptr, &m_read) ||
        GetLastError() == ERROR_IO_PENDING) {
        m_reading = true;
        return;
    }
    m_reading = false;
    SetEvent(m_readEvent.get()); // reported as a failed read, in the loop
}

bool CommLink::collectRead(DWORD &error)
{
    error = ERROR_SUCCESS;
    DWORD count = 0;
    if (!m_reading) {
        error = ERROR_DEVICE_NOT_CONNECTED;
        return false;
    }
    if (!GetOverlappedResult(m_port.get(), &m_read, &count, FALSE)) {
        error = GetLastError();
        if (error == ERROR_IO_INCOMPLETE)
            error = ERROR_SUCCESS;
        return false;
    }
    m_reading = false;
    // Without timeouts a read ends with no byte only when the line is gone.
    if (count == 0) {
        error = ERROR_DEVICE_NOT_CONNECTED;
        return false;
    }
    m_input.push_back(m_chunk[0]);
    takeQueued();
    startRead();
    return true;
}

void CommLink::takeQueued()
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(m_port.get(), &errors, &status) || status.cbInQue == 0)
        return;
    OVERLAPPED queued{};
    queued.hEvent = m_drainEvent.get();
    ResetEvent(queued.hEvent);
    const DWORD wanted = std::min<DWORD>(status.cbInQue, static_cast<DWORD>(m_chunk.size()));
    DWORD count = 0;
    // They are there already, so the wait ends at once.
    if (ReadFile(m_port.get(), m_chunk.data(), wanted, nullptr, &queued) ||
        GetLastError() == ERROR_IO_PENDING) {
        if (GetOverlappedResult(m_port.get(), &queued, &count, TRUE))
            m_input.insert(m_input.end(), m_chunk.begin(), m_chunk.begin() + count);
    }
}

model::ByteString CommLink::takeInput()
{
    DWORD error = ERROR_SUCCESS;
    // Bytes of a read that has ended but whose event the loop has not reached yet count too.
    while (isOpen() && collectRead(error)) {
    }
    model::ByteString bytes;
    bytes.swap(m_input);
    return bytes;
}

void CommLink::readSignalled()
{
    DWORD error = ERROR_SUCCESS;
    bool arrived = false;
    while (isOpen() && collectRead(error))
        arrived = true;
    if (error != ERROR_SUCCESS) {
        m_reading = false;
        fail(error);
        close();
        if (m_listener)
            m_listener->deviceLost();
        return;
    }
    if (arrived && m_listener)
        m_listener->bytesArrived();
}

void CommLink::close()
{
    if (!isOpen())
        return;
    if (m_reading) {
        // The buffer must outlive the read: wait for the cancel to land.
        DWORD count = 0;
        CancelIo(m_port.get());
        GetOverlappedResult(m_port.get(), &m_read, &count, TRUE);
        m_reading = false;
    }
    m_loop.unwatch(m_readEvent.get());
    ResetEvent(m_readEvent.get());
    m_port.reset();
    m_input.clear();
}

std::string CommLink::lastError() const
{
    return m_lastError;
}

} // namespace sg::win32
