#include "link/open_error.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#endif

namespace sg::link {

namespace {

std::string GroupHint(const std::string &device)
{
#ifdef _WIN32
    (void)device;
    return {};
#else
    struct stat info
    {
    };
    std::string group = "dialout";
    if (stat(device.c_str(), &info) == 0) {
        if (const struct group *owner = getgrgid(info.st_gid))
            group = owner->gr_name;
    }
    return " (add your user to the group '" + group + "' and log in again)";
#endif
}

} // namespace

std::string DescribeOpenError(const std::string &device, const std::string &reason,
                              bool permissionDenied)
{
    std::string text = device + ": " + reason;
    if (permissionDenied)
        text += GroupHint(device);
    return text;
}

} // namespace sg::link
