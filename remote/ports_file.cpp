#include "remote/ports_file.h"

#include "model/text.h"
#include "remote/remote_address.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace sg::remote {

namespace {

// The next word of text, taken off its front.
std::string_view TakeWord(std::string_view &text)
{
    text = model::Trimmed(text);
    const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
    const std::string_view word = text.substr(0, end);
    text = model::Trimmed(text.substr(end));
    return word;
}

// UTF-8 whatever the system's code page, which may not hold the path.
std::string Shown(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

} // namespace

PortsFile ParsePortsFile(std::string_view text, const std::string &shownPath)
{
    PortsFile file;
    // Notepad starts a UTF-8 file with a byte order mark.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        line = model::Trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const std::string where = shownPath + " line " + std::to_string(lineNumber) + ": ";
        const std::string_view numberWord = TakeWord(line);
        const std::optional<int> number = protocol::ParsePortNumber(numberWord);
        if (!number) {
            file.problems.push_back(where + "'" + std::string(numberWord) +
                                    "' is not a port number from 1 to " +
                                    std::to_string(protocol::LAST_PORT_NUMBER));
            continue;
        }
        const std::string url(TakeWord(line));
        std::string error;
        if (url.empty()) {
            file.problems.push_back(where + "no rfc2217:// or socket:// address after " +
                                    std::string(numberWord));
            continue;
        }
        if (!ParseRemoteAddress(url, error)) {
            file.problems.push_back(where + error);
            continue;
        }
        file.ports.push_back(
            {where,
             {.label = url, .device = url, .description = std::string(line), .number = *number}});
    }
    return file;
}

PortsFile ReadPortsFile(const std::filesystem::path &path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return {};
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        PortsFile unreadable;
        unreadable.problems.push_back(Shown(path) + ": cannot be read");
        return unreadable;
    }
    return ParsePortsFile(text.str(), Shown(path));
}

protocol::PortCatalog WithRemotePorts(const protocol::PortCatalog &local, const PortsFile &file)
{
    std::vector<protocol::Port> entries = local.entries();
    std::vector<std::string> notes = local.notes();
    for (const PortsFile::Line &line : file.ports) {
        const protocol::Port &remote = line.port; // named, not bound: clang 14 captures no binding
        const auto taken =
            std::find_if(entries.begin(), entries.end(),
                         [&remote](const protocol::Port &e) { return e.number == remote.number; });
        if (taken == entries.end()) {
            entries.push_back(remote);
            continue;
        }
        const bool own = static_cast<std::size_t>(taken - entries.begin()) < local.entries().size();
        notes.push_back(line.where + std::to_string(remote.number) + " is already " +
                        (own ? "this computer's " : "") + taken->device + "; line left out");
    }
    protocol::PortCatalog catalog(std::move(entries), local.unlistedPrefix());
    for (std::string &note : notes)
        catalog.addNote(std::move(note));
    for (const std::string &problem : file.problems)
        catalog.addNote(problem);
    return catalog;
}

} // namespace sg::remote
