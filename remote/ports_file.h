#pragma once

#include "protocol/port_catalog.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sg::remote {

// The user's own numbers for ports behind network serial servers, one per line:
// "NUMBER URL [description]"; '#' starts a comment.
struct PortsFile
{
    struct Line
    {
        std::string where;   // "PATH line N: "
        protocol::Port port; // with its number set
    };
    std::vector<Line> ports;
    std::vector<std::string> problems; // "PATH line N: why", for each line left out
};

PortsFile ParsePortsFile(std::string_view text, const std::string &shownPath);
// No file is no remote port; a file that cannot be read is one problem.
PortsFile ReadPortsFile(const std::filesystem::path &path);

// The local ports, then each remote one whose number no local port has; every line left
// out becomes a note of the catalog.
protocol::PortCatalog WithRemotePorts(const protocol::PortCatalog &local, const PortsFile &file);

// The local lister's ports with the ports file's, both as they are at each call.
class RemotePortLister : public protocol::PortLister
{
public:
    RemotePortLister(const protocol::PortLister &local, std::filesystem::path file)
        : m_local(local), m_file(std::move(file))
    {
    }

    protocol::PortCatalog catalog() const override
    {
        return WithRemotePorts(m_local.catalog(), ReadPortsFile(m_file));
    }

private:
    const protocol::PortLister &m_local;
    std::filesystem::path m_file;
};

} // namespace sg::remote
