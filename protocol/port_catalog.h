#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sg::protocol {

struct PortEntry
{
    std::string label;       // what the user sees, e.g. ttyUSB0 or sgsim-1234
    std::string device;      // path to open
    std::string description; // may be empty
    std::string stableName;  // a name that outlives re-plugging, e.g. a by-id link; may be empty
    int number = 0;          // the system's own COM number, 0 where the catalog counts
    std::string notProbed;   // why a probe does not open this port; usually empty
};

// The ports as the user numbers them: COM1 is the first entry, unless the system numbers
// its ports itself (Windows' COMn).
class PortCatalog
{
public:
    PortCatalog() = default;
    // unlistedPrefix: where the system names its ports by number, the prefix that makes a
    // number's name, so that a port its driver left out of the list still opens.
    explicit PortCatalog(std::vector<PortEntry> entries, std::string unlistedPrefix = {})
        : m_entries(std::move(entries)), m_unlistedPrefix(std::move(unlistedPrefix))
    {
    }

    const std::vector<PortEntry> &entries() const { return m_entries; }
    const std::string &unlistedPrefix() const { return m_unlistedPrefix; }
    // What the user should know about how the list was made, e.g. a line of a ports
    // file that was left out, and why; one sentence each.
    const std::vector<std::string> &notes() const { return m_notes; }
    void addNote(std::string note) { m_notes.push_back(std::move(note)); }
    // The COM number of entries()[index].
    int numberAt(std::size_t index) const
    {
        const int own = m_entries.at(index).number;
        return own > 0 ? own : static_cast<int>(index) + 1;
    }
    std::optional<PortEntry> find(int number) const;
    // What to open for a number: its entry's device, else its name by the system's
    // numbering; empty when there is neither.
    std::string deviceOf(int number) const;
    // The number of the entry with this label, or 0 when there is none.
    int numberOf(std::string_view label) const;
    // One "COMn  /dev/...  description" line per port, then the notes, for the COM box's
    // tooltip.
    std::string text() const;

private:
    std::vector<PortEntry> m_entries;
    std::string m_unlistedPrefix;
    std::vector<std::string> m_notes;
};

// "COMn  /dev/...  description  stable name": one port as the user sees it listed; number
// 0 names it by its label.
std::string DescribePort(int number, const PortEntry &port);

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

// One or two decimal digits, optionally surrounded by spaces; anything else is no number.
std::optional<int> ParseComNumber(std::u16string_view text);

// The port a transfer starts on: what to open and how detail lines name it, or, with no
// device, why there is none.
struct ResolvedPort
{
    std::string name; // COMn, or the name the user gave
    std::string device;
    std::string error;
};

// The COM box's number among the ports there are now.
ResolvedPort ResolveComText(std::u16string_view text, const PortCatalog &catalog);

} // namespace sg::protocol
