#pragma once

#include <string>
#include <string_view>

namespace sg::transfer {

inline constexpr std::string_view COM_ERROR_TEXT = "ERROR! Check COM settings";
inline constexpr std::string_view NO_RESPONSE_TEXT = "ERROR! No response.";

// Modal message boxes with an empty title: each call returns once the user has
// dismissed the box. detail is the system's reason, shown beneath, or empty.
class Alerts
{
public:
    virtual ~Alerts() = default;

    virtual void critical(std::string_view text, const std::string &detail) = 0;
    virtual void warning(std::string_view text, const std::string &detail) = 0;
};

} // namespace sg::transfer
