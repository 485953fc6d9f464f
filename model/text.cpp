#include "model/text.h"

namespace sg::model {

namespace {

constexpr std::string_view BLANKS = " \t\r";

} // namespace

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(BLANKS);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(BLANKS) - first + 1);
}

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

} // namespace sg::model
