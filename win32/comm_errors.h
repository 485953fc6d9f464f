#pragma once

#include <windows.h>

#include <string>

namespace sg::win32 {

// "COM3: in use by another program, or access denied (Access is denied.)": the common
// real causes in words, then the system's own text.
std::string DescribeOpenFailure(const std::string &name, DWORD code);
// A failure on an open port: "COM3: the adapter was removed (...)" for the codes a
// pulled-out adapter gives.
std::string DescribeLineFailure(const std::string &name, DWORD code);

} // namespace sg::win32
