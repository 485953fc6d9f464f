#include "serial/open_error.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sg::serial {

namespace {

#ifndef _WIN32
std::string OwningGroup(const std::string &device)
{
    struct stat info
    {
    };
    if (stat(device.c_str(), &info) == 0) {
        if (const struct group *owner = getgrgid(info.st_gid))
            return owner->gr_name;
    }
    return "dialout";
}
#endif

} // namespace

std::string DescribeOpenError(const std::string &device, const std::string &reason,
                              bool permissionError)
{
#ifndef _WIN32
    // The serial layer reports a port locked by another program as a permission error
    // too; only a device we may not open calls for the group hint.
    if (permissionError && access(device.c_str(), R_OK | W_OK) == 0)
        return device + ": busy, another program is using it (" + reason + ")";
    if (permissionError)
        return device + ": " + reason + " (add your user to the group '" + OwningGroup(device) +
               "' and log in again)";
#else
    (void)permissionError;
#endif
    return device + ": " + reason;
}

} // namespace sg::serial
