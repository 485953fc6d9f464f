#include "app/qt_cli_world.h"

#include "app/qt_port_link.h"
#include "qtcore/host_ports.h"
#include "qtcore/qt_ticker.h"
#include "remote/ports_file.h"

#include <filesystem>

namespace sg::app {

protocol::PortCatalog QtCliWorld::ports() const
{
    return remote::WithRemotePorts(qtcore::ScanHostPorts(),
                                   remote::ReadPortsFile(qtcore::UserPortsFile()));
}

// A by-id link and the device it points to are one port; a name that is no path, such as
// a network address, stands as it is.
std::string QtCliWorld::resolvePortName(const std::string &name) const
{
    if (!name.starts_with('/'))
        return name;
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(name, error);
    return error ? name : resolved.string();
}

std::unique_ptr<protocol::SerialLink> QtCliWorld::makeLink()
{
    return MakeQtPortLink();
}

std::unique_ptr<transfer::Ticker> QtCliWorld::makeTicker(int periodMs, std::function<void()> onTick)
{
    return std::make_unique<qtcore::QtTicker>(std::move(onTick), periodMs);
}

} // namespace sg::app
