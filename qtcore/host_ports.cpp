#include "qtcore/host_ports.h"

#include "simdir/simulator_ports.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace sg::qtcore {

using protocol::Port;

namespace {

std::size_t GroupOf(const std::string &label)
{
    static const std::array<std::string, 3> groups{"ttyS", "ttyUSB", "ttyACM"};
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const std::string &prefix = groups[i];
        if (label.size() > prefix.size() && label.starts_with(prefix) &&
            std::isdigit(static_cast<unsigned char>(label[prefix.size()])))
            return i;
    }
    return groups.size();
}

// udev's by-id links name an adapter by its vendor, model and serial number, so a link
// still reaches the same device after a reboot has renumbered the ttyUSBs.
std::map<std::string, std::string> StableNames()
{
    std::map<std::string, std::string> names;
    std::error_code error;
    for (const auto &link : std::filesystem::directory_iterator("/dev/serial/by-id", error)) {
        const std::filesystem::path device = std::filesystem::canonical(link.path(), error);
        if (!error)
            names.emplace(device.string(), link.path().string());
    }
    return names;
}

} // namespace

std::vector<Port> OrderHostPorts(std::vector<Port> ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const Port &a, const Port &b) {
        const std::size_t group = GroupOf(a.label), otherGroup = GroupOf(b.label);
        return group != otherGroup ? group < otherGroup : protocol::NaturalLess(a.label, b.label);
    });
    return ports;
}

protocol::PortCatalog ScanHostPorts()
{
    std::vector<Port> host;
    const std::map<std::string, std::string> stableNames = StableNames();
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const std::string device = info.systemLocation().toStdString();
        const auto stable = stableNames.find(device);
        host.push_back(
            {.label = info.portName().toStdString(),
             .device = device,
             .description = info.description().toStdString(),
             .stableName = stable == stableNames.end() ? std::string() : stable->second});
    }
    std::vector<Port> catalog = OrderHostPorts(std::move(host));
    for (Port &simulator : simdir::SimulatorPorts(simdir::SimulatorPortDir()))
        catalog.push_back(std::move(simulator));
    return protocol::PortCatalog(std::move(catalog));
}

std::filesystem::path UserPortsFile()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config == '/')
        return std::filesystem::path(config) / "sgsetup" / "ports";
    const char *home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "") / ".config" / "sgsetup" / "ports";
}

} // namespace sg::qtcore
