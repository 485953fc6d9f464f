#pragma once

#include <filesystem>
#include <string>

namespace sg::sim {

// The simulator's entry in the directory where the tool looks for simulated ports, and the
// lock that tells it lives; entries that simulators killed left behind are removed.
class PortRegistration
{
public:
    PortRegistration(const std::filesystem::path &dir, const std::string &name,
                     const std::string &device);
    ~PortRegistration();
    PortRegistration(const PortRegistration &) = delete;
    PortRegistration &operator=(const PortRegistration &) = delete;

    bool ok() const { return m_error.empty(); }
    const std::string &error() const { return m_error; }
    const std::filesystem::path &path() const { return m_path; }
    void remove();

private:
    std::filesystem::path m_path;
    int m_lock = -1;
    std::string m_error;
};

} // namespace sg::sim
