#include "qtcore/open_error.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sg::qtcore {

std::string DeniedAdvice(const std::string &device)
{
    const auto joinGroup = [](const std::string &group) {
        return "add your user to the group '" + group + "' and log in again";
    };
    struct stat info
    {
    };
    if (stat(device.c_str(), &info) != 0)
        return joinGroup("dialout");
    const mode_t groupReadWrite = S_IRGRP | S_IWGRP;
    if ((info.st_mode & groupReadWrite) == groupReadWrite) {
        const struct group *group = getgrgid(info.st_gid);
        return joinGroup(group ? group->gr_name : std::to_string(info.st_gid));
    }
    const struct passwd *owner = getpwuid(info.st_uid);
    return "only its owner '" +
           (owner ? std::string(owner->pw_name) : std::to_string(info.st_uid)) +
           "' may open it; a udev rule or the administrator can change that";
}

std::string DescribeOpenError(const std::string &device, const std::string &reason,
                              bool permissionError)
{
    // The serial layer reports a port locked by another program as a permission error
    // too; only a device we may not open calls for advice on access.
    if (permissionError && access(device.c_str(), R_OK | W_OK) == 0)
        return device + ": in use by another program (" + reason + ")";
    if (permissionError)
        return device + ": " + reason + " (" + DeniedAdvice(device) + ")";
    return device + ": " + reason;
}

} // namespace sg::qtcore
