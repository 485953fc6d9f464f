#pragma once

#include <string>

namespace sg::serial {

// "device: reason" for the user: says when the port is busy, and which group to join
// when access was denied.
std::string DescribeOpenError(const std::string &device, const std::string &reason,
                              bool permissionError);

} // namespace sg::serial
