#include "app/win32_cli_world.h"

#include "app/win32_port_link.h"
#include "remote/ports_file.h"
#include "win32/console_text.h"
#include "win32/serial_ports.h"
#include "win32/win32_ticker.h"

#include <algorithm>
#include <cctype>

namespace sg::app {

protocol::PortCatalog Win32CliWorld::ports() const
{
    return remote::WithRemotePorts(win32::ListSerialPorts(),
                                   remote::ReadPortsFile(win32::UserPortsFile()));
}

// Windows' device names ignore case: \\.\com3 is \\.\COM3.
std::string Win32CliWorld::resolvePortName(const std::string &name) const
{
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

std::unique_ptr<protocol::SerialLink> Win32CliWorld::makeLink()
{
    return MakeWin32PortLink(m_messages);
}

void Win32CliWorld::write(Stream stream, std::string_view text)
{
    win32::WriteStandard(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, text);
}

std::unique_ptr<transfer::Ticker> Win32CliWorld::makeTicker(int periodMs,
                                                            std::function<void()> onTick)
{
    return std::make_unique<win32::Win32Ticker>(std::move(onTick), periodMs);
}

} // namespace sg::app
