#pragma once

#include <string>

namespace sg::link {

// "device: reason", with a hint about the owning group when access was denied.
std::string DescribeOpenError(const std::string &device, const std::string &reason,
                              bool permissionDenied);

} // namespace sg::link
