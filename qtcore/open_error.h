#pragma once

#include <string>

namespace sg::qtcore {

// "device: reason" for the user: says when the port is busy, and what would let the user
// open it when access was denied.
std::string DescribeOpenError(const std::string &device, const std::string &reason,
                              bool permissionError);

// The advice for a denied open of device: joining its group helps only when the group may
// read and write it.
std::string DeniedAdvice(const std::string &device);

} // namespace sg::qtcore
