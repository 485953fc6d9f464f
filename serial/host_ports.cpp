#include "serial/host_ports.h"

#include "serial/simulator_ports.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <array>
#include <cctype>
#include <tuple>

namespace sg::serial {

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

// Splits "ttyUSB10" into ("ttyUSB", 10) so that numbers sort by value.
std::tuple<std::string, unsigned long, std::string> NaturalKey(const std::string &label)
{
    std::size_t end = label.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(label[end - 1])))
        --end;
    const std::string digits = label.substr(end);
    const unsigned long number = digits.empty() || digits.size() > 9 ? 0 : std::stoul(digits);
    return {label.substr(0, end), number, digits};
}

} // namespace

std::vector<PortEntry> OrderHostPorts(std::vector<PortEntry> ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const PortEntry &a, const PortEntry &b) {
        return std::tuple(GroupOf(a.label), NaturalKey(a.label)) <
               std::tuple(GroupOf(b.label), NaturalKey(b.label));
    });
    return ports;
}

protocol::PortCatalog ScanHostPorts()
{
    std::vector<PortEntry> catalog;
#ifdef Q_OS_WIN
    for (int n = 1; n <= 99; ++n)
        catalog.push_back({"COM" + std::to_string(n), "COM" + std::to_string(n), {}});
#else
    std::vector<PortEntry> host;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        host.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                        info.description().toStdString()});
    catalog = OrderHostPorts(std::move(host));
    for (PortEntry &simulator : SimulatorPorts(SimulatorPortDir()))
        catalog.push_back(std::move(simulator));
#endif
    return protocol::PortCatalog(std::move(catalog));
}

} // namespace sg::serial
