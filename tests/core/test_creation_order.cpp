#include "form/form.h"

#include <doctest/doctest.h>

#include <string>

TEST_CASE("controls are made tab stops first, each box just after its caption")
{
    const std::span<const sg::form::Control> form = sg::form::MainForm();
    std::string names;
    for (const std::size_t i : sg::form::CreationOrder(form)) {
        const sg::form::ControlRef &ref = form[i].ref;
        names += std::string(ref.name) + (ref.index < 0 ? "" : std::to_string(ref.index)) + ' ';
    }
    CHECK(names == "Label1 TXTcom Label28 TXTdata Label20 Text10 Label21 Text11 Label23 Text12 "
                   "Text13 Label24 Text14 Label25 Text15 Label26 Text16 Command1 CMDread CMDstore "
                   "Label37 Text17 Label30 Label31 Label33 Label34 Label35 Label36 Line2 LBLstatus "
                   "Picture1 Label4 ");
}
