#pragma once

#include "protocol/port.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sg::protocol {

// The ports as the user numbers them: COM1 is the first entry, unless the system numbers
// its ports itself (Windows' COMn).
class PortCatalog
{
public:
    PortCatalog() = default;
    // Entries without a number of their own are counted from one. unlistedPrefix: where the
    // system names its ports by number, the prefix that makes a number's name, so that a
    // port its driver left out of the list still opens.
    explicit PortCatalog(std::vector<Port> entries, std::string unlistedPrefix = {});

    // Each with its number and name set.
    const std::vector<Port> &entries() const { return m_entries; }
    const std::string &unlistedPrefix() const { return m_unlistedPrefix; }
    // What the user should know about how the list was made, e.g. a line of a ports
    // file that was left out, and why; one sentence each.
    const std::vector<std::string> &notes() const { return m_notes; }
    void addNote(std::string note) { m_notes.push_back(std::move(note)); }
    std::optional<Port> find(int number) const;
    // What to open for a number: its entry's device, else its name by the system's
    // numbering; empty when there is neither.
    std::string deviceOf(int number) const;
    // The number of the entry with this label, or 0 when there is none.
    int numberOf(std::string_view label) const;
    // One "COMn  /dev/...  description" line per port, then the notes, for the COM box's
    // tooltip.
    std::string text() const;

private:
    std::vector<Port> m_entries;
    std::string m_unlistedPrefix;
    std::vector<std::string> m_notes;
};

// Orders labels as people count, a trailing number by its value: ttyUSB2 before ttyUSB10, and
// sgsim-99999 (started first) before sgsim-100000.
bool NaturalLess(std::string_view a, std::string_view b);

// "COM25: no such port on this computer; ports here: COM1, COM3", or "...; no serial
// ports found": what helps a user who typed a number that is not there.
std::string MissingPortText(std::string_view name, const PortCatalog &present);

// Lists the ports as they are now; asked again at every start of a transfer.
class PortLister
{
public:
    virtual ~PortLister() = default;

    virtual PortCatalog catalog() const = 0;
};

// A catalog taken once, for front ends that start many transfers at the same moment.
class FixedPortLister : public PortLister
{
public:
    explicit FixedPortLister(PortCatalog catalog) : m_catalog(std::move(catalog)) {}

    PortCatalog catalog() const override { return m_catalog; }

private:
    PortCatalog m_catalog;
};

} // namespace sg::protocol
