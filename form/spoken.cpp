#include "form/spoken.h"

#include <algorithm>

namespace sg::form {

namespace {

// A caption without its accelerator and colon: "Baud rate:" is "Baud rate".
std::u16string NameOf(std::u16string_view caption)
{
    std::u16string name;
    std::remove_copy_if(caption.begin(), caption.end(), std::back_inserter(name),
                        [](char16_t c) { return c == u'&' || c == u':'; });
    const std::size_t last = name.find_last_not_of(u' ');
    name.erase(last == std::u16string::npos ? 0 : last + 1);
    return name.substr(std::min(name.size(), name.find_first_not_of(u' ')));
}

} // namespace

std::vector<SpokenBox> SpokenBoxes()
{
    std::vector<SpokenBox> spoken;
    for (const Control &control : MainForm()) {
        if (control.kind == Kind::Box)
            spoken.push_back({.box = control.ref});
    }
    const auto of = [&spoken](const ControlRef &box) -> SpokenBox & {
        return *std::find_if(spoken.begin(), spoken.end(),
                             [&box](const SpokenBox &s) { return s.box == box; });
    };
    for (const Control &control : MainForm()) {
        if (control.kind == Kind::Caption)
            of(control.subject).name = NameOf(control.text);
        else if (control.kind == Kind::Note && IsArrow(control))
            of(control.subject).inWords = true;
        else if (control.kind == Kind::Note)
            of(control.subject).description = control.text;
    }
    SpokenBox &high = of(DIVISOR_HIGH_BOX);
    SpokenBox &low = of(DIVISOR_LOW_BOX);
    low.name = high.name + u", low byte";
    low.inWords = high.inWords;
    high.name += u", high byte";
    return spoken;
}

} // namespace sg::form
