#include "form/spoken.h"

#include <doctest/doctest.h>

using namespace sg::form;

TEST_CASE("what a screen reader is told of each box, in the form's order, for both windows")
{
    const std::vector<SpokenBox> expected = {
        {DATA_BOX, u"DATA", u"", false},
        {ParamBox(7), u"len", u"", false},
        {ParamBox(0), u"Startup delay", u"x 4 ms, 00= no delay", false},
        {ParamBox(1), u"Mode", u"", true},
        {DIVISOR_HIGH_BOX, u"Baud rate, high byte", u"", true},
        {DIVISOR_LOW_BOX, u"Baud rate, low byte", u"", true},
        {ParamBox(4), u"Message delay", u"x 4 ms, 00= no delay", false},
        {ParamBox(5), u"Byte delay", u"x 0.1 ms, 00= no delay", false},
        {ParamBox(6), u"Repeat count", u"if 0x00 then infinite", false},
        {COM_BOX, u"COM", u"", false},
    };
    const std::vector<SpokenBox> spoken = SpokenBoxes();
    REQUIRE(spoken.size() == expected.size());
    for (std::size_t i = 0; i < spoken.size(); ++i) {
        CAPTURE(i);
        CHECK(spoken[i].box == expected[i].box);
        CHECK((spoken[i].name == expected[i].name &&
               spoken[i].description == expected[i].description &&
               spoken[i].inWords == expected[i].inWords));
    }
}
