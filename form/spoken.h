#pragma once

#include "form/form.h"

#include <string>
#include <vector>

namespace sg::form {

// What a screen reader is told of a box, the same in both windows: its name from its
// caption, and its description from its note where the note explains a unit. Where the
// note is only an arrow, the box says in words what its value means (the tooltip's text),
// and follows the value as it changes.
struct SpokenBox
{
    ControlRef box;
    std::u16string name;
    std::u16string description; // empty where there is no note, or it is in words
    bool inWords = false;
};

// Every box of the main window, in the form's order. The divisor's caption stands beside
// both of its boxes: each says which byte it is.
std::vector<SpokenBox> SpokenBoxes();

} // namespace sg::form
