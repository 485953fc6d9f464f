#include "simdir/simulator_ports.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sg::simdir {

namespace fs = std::filesystem;

fs::path SimulatorPortDir()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
        return fs::path(runtime) / "sgsetup" / "ports";
    return fs::path("/tmp") / ("sgsetup-" + std::to_string(getuid())) / "ports";
}

bool IsTrustedDir(const fs::path &dir)
{
    struct stat info
    {
    };
    if (lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    return info.st_uid == getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

fs::path LockPathOf(const fs::path &entry)
{
    fs::path lock = entry;
    lock += ".lock";
    return lock;
}

bool IsLiveEntry(const fs::path &entry)
{
    const int lock = ::open(LockPathOf(entry).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (lock < 0)
        return false;
    // Taken only for a moment, and shared: it never keeps a live simulator from its own.
    const bool held = ::flock(lock, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(lock);
    return held;
}

std::vector<Port> SimulatorPorts(const fs::path &dir)
{
    std::vector<Port> ports;
    if (!IsTrustedDir(dir))
        return ports;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir, error)) {
        if (!entry.is_symlink(error))
            continue;
        const fs::path target = fs::read_symlink(entry.path(), error);
        if (error || !fs::exists(target, error) || !IsLiveEntry(entry.path()))
            continue;
        ports.push_back({.label = entry.path().filename().string(),
                         .device = target.string(),
                         .description = "sgsim device simulator"});
    }
    std::sort(ports.begin(), ports.end(),
              [](const Port &a, const Port &b) { return protocol::NaturalLess(a.label, b.label); });
    return ports;
}

int SimulatorComNumber(const fs::path &dir, const std::string &label, std::size_t hostPorts)
{
    const std::vector<Port> simulators = SimulatorPorts(dir);
    for (std::size_t i = 0; i < simulators.size(); ++i) {
        if (simulators[i].label == label)
            return static_cast<int>(hostPorts + i + 1);
    }
    return 0;
}

} // namespace sg::simdir
