#include "sim/port_registration.h"

#include "simdir/simulator_ports.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace sg::sim {

namespace fs = std::filesystem;
using simdir::IsLiveEntry;
using simdir::IsTrustedDir;
using simdir::LockPathOf;

namespace {

bool MakePrivateDirs(const fs::path &dir)
{
    if (fs::exists(dir))
        return true;
    if (dir.has_parent_path() && !MakePrivateDirs(dir.parent_path()))
        return false;
    return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

void RemoveLeftovers(const fs::path &dir)
{
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir, error)) {
        if (!entry.is_symlink(error) || IsLiveEntry(entry.path()))
            continue;
        fs::remove(entry.path(), error);
        fs::remove(LockPathOf(entry.path()), error);
    }
}

} // namespace

PortRegistration::PortRegistration(const fs::path &dir, const std::string &name,
                                   const std::string &device)
{
    if (!MakePrivateDirs(dir) || !IsTrustedDir(dir)) {
        m_error = dir.string() + " is missing or writable by others; the tool would ignore it";
        return;
    }
    RemoveLeftovers(dir);
    m_path = dir / name;
    // Locked before the entry appears, so that nobody sees it without its lock.
    m_lock = ::open(LockPathOf(m_path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lock < 0 || ::flock(m_lock, LOCK_EX) != 0) {
        m_error = "cannot lock " + LockPathOf(m_path).string() + ": " + std::strerror(errno);
        remove();
        return;
    }
    std::error_code error;
    fs::remove(m_path, error);
    fs::create_symlink(device, m_path, error);
    if (error) {
        m_error = "cannot register " + m_path.string() + ": " + error.message();
        remove();
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
    fs::remove(LockPathOf(m_path), error);
    m_path.clear();
    if (m_lock >= 0)
        ::close(std::exchange(m_lock, -1));
}

} // namespace sg::sim
