#include "sim/port_registration.h"

#include "sim/simulator_ports.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace sg::sim {

namespace fs = std::filesystem;

namespace {

bool MakePrivateDirs(const fs::path &dir)
{
    if (fs::exists(dir))
        return true;
    if (dir.has_parent_path() && !MakePrivateDirs(dir.parent_path()))
        return false;
    return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

PortRegistration::PortRegistration(const fs::path &dir, const std::string &name,
                                   const std::string &device)
{
    if (!MakePrivateDirs(dir) || !IsTrustedDir(dir)) {
        m_error = dir.string() + " is missing or writable by others; the tool would ignore it";
        return;
    }
    m_path = dir / name;
    std::error_code error;
    fs::remove(m_path, error);
    fs::create_symlink(device, m_path, error);
    if (error) {
        m_error = "cannot register " + m_path.string() + ": " + error.message();
        m_path.clear();
    }
}

PortRegistration::~PortRegistration()
{
    remove();
}

void PortRegistration::remove()
{
    if (m_path.empty())
        return;
    std::error_code error;
    fs::remove(m_path, error);
    m_path.clear();
}

} // namespace sg::sim
