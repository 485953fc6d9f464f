#pragma once

#include <string>
#include <string_view>

namespace sg::presenter {

// The two failure messages, told after the transfer has ended. detail is the system's
// reason, shown beneath the text, or empty.
class Alerts
{
public:
    virtual ~Alerts() = default;

    virtual void critical(std::string_view text, const std::string &detail) = 0;
    virtual void warning(std::string_view text, const std::string &detail) = 0;
};

} // namespace sg::presenter
