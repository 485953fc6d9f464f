#include "sim/pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace sg::sim {

PseudoTerminal::PseudoTerminal()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        m_error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        close();
        return;
    }
    // The line stays at the kernel's defaults, as a port is when it is plugged in: every
    // setting the device needs is the tool's to make.
    m_devicePath = ptsname(m_master);
    m_slave = ::open(m_devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        m_error = "cannot open " + m_devicePath + ": " + std::strerror(errno);
        close();
    }
}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

void PseudoTerminal::close()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

} // namespace sg::sim
