#include "win32/line_settings.h"

namespace sg::win32 {

DCB LineSettings()
{
    DCB line{};
    line.DCBlength = sizeof line;
    line.BaudRate = CBR_9600;
    line.fBinary = TRUE; // Windows has no other mode
    line.fParity = FALSE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    // A device powered from the control lines wakes while the port is open.
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fDsrSensitivity = FALSE;
    line.fTXContinueOnXoff = TRUE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fErrorChar = FALSE;
    line.fNull = FALSE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fAbortOnError = FALSE;
    // Unused without XON/XOFF, but drivers check them: distinct characters, and limits
    // that fit the input queue.
    line.XonLim = IN_QUEUE_BYTES / 4;
    line.XoffLim = IN_QUEUE_BYTES / 4;
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    line.XonChar = 0x11;
    line.XoffChar = 0x13;
    line.ErrorChar = 0;
    line.EofChar = 0;
    line.EvtChar = 0;
    return line;
}

COMMTIMEOUTS LineTimeouts()
{
    COMMTIMEOUTS timeouts{};
    // Per the COMMTIMEOUTS and SERIAL_TIMEOUTS pages, a read with only an interval timeout
    // ends with what has come once the line pauses after a byte; on an idle line it stays
    // pending until a byte comes or it is cancelled, which an overlapped read may. It never
    // ends empty over and over on an idle line, as MAXDWORD with zero totals would (wine
    // ignores the MAXDWORD-multiplier form).
    timeouts.ReadIntervalTimeout = READ_GAP_MS;
    timeouts.WriteTotalTimeoutConstant = 1000;
    return timeouts;
}

} // namespace sg::win32
