#include "transfer/com_number.h"

namespace sg::transfer {

std::optional<int> ParseComNumber(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(u' ');
    const std::u16string_view digits = text.substr(first, last - first + 1);
    if (digits.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace sg::transfer
