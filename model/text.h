#pragma once

#include <string>
#include <string_view>

namespace sg::model {

// text without the spaces, tabs and carriage returns at either end.
std::string_view Trimmed(std::string_view text);

// text in single quotes, as a message shows what it was given.
std::string Quoted(std::string_view text);

} // namespace sg::model
