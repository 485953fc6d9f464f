#pragma once

#include <string>

namespace sg::sim {

// A pseudo-terminal at the kernel's defaults. The simulator keeps its own handle on the far end so
// that the tool opening and closing the port never hangs the line up.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool ok() const { return m_master >= 0; }
    const std::string &error() const { return m_error; }
    int master() const { return m_master; }
    const std::string &devicePath() const { return m_devicePath; }
    // Pulls the plug: the tool's side sees the device vanish.
    void close();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_devicePath;
    std::string m_error;
};

} // namespace sg::sim
