#pragma once

#include "model/blocks.h"

#include <string>

namespace sg::sim {

// What the parameter bytes make the device do, in words.
std::string DescribeParams(const model::ParamBlock &params);

} // namespace sg::sim
