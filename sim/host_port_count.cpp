#include "sim/host_port_count.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string_view>

namespace sg::sim {

namespace fs = std::filesystem;

namespace {

bool HasUart(const std::string &device)
{
    // Opened as the library opens it, so that a port the user may not open does not count;
    // but never waiting for a carrier that may not come.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    serial_struct info{};
    const bool known = ::ioctl(fd, TIOCGSERIAL, &info) != -1 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return known;
}

bool ListedWithoutParent(std::string_view name)
{
    return name.starts_with("rfcomm") || name.starts_with("tnt") || name.starts_with("ttyGS");
}

} // namespace

std::size_t CountHostPorts(const fs::path &ttyClass)
{
    std::size_t count = 0;
    std::error_code error;
    for (const fs::directory_entry &tty : fs::directory_iterator(ttyClass, error)) {
        const std::string name = tty.path().filename().string();
        const fs::path parent = tty.path() / "device";
        if (!fs::exists(parent, error)) {
            count += ListedWithoutParent(name) ? 1u : 0u;
            continue;
        }
        const fs::path driver = fs::read_symlink(parent / "driver", error);
        if (!error && driver.filename() == "serial8250" && !HasUart("/dev/" + name))
            continue;
        ++count;
    }
    return count;
}

} // namespace sg::sim
