#include "win32/comm_errors.h"

#include "win32/wide_text.h"

namespace sg::win32 {

namespace {

std::string WithWords(const std::string &name, const char *words, DWORD code)
{
    return name + ": " + words + " (" + SystemMessage(code) + ")";
}

} // namespace

std::string DescribeOpenFailure(const std::string &name, DWORD code)
{
    if (code == ERROR_ACCESS_DENIED)
        return WithWords(name, "in use by another program, or access denied", code);
    return name + ": " + SystemMessage(code);
}

std::string DescribeLineFailure(const std::string &name, DWORD code)
{
    switch (code) {
    case ERROR_OPERATION_ABORTED:
    case ERROR_GEN_FAILURE:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
    // Many USB adapters' drivers answer every call on a port pulled out with this.
    case ERROR_ACCESS_DENIED:
        return WithWords(name, "the adapter was removed", code);
    default:
        return name + ": " + SystemMessage(code);
    }
}

} // namespace sg::win32
