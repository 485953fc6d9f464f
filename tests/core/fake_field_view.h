#pragma once

#include "model/blocks.h"
#include "model/field_view.h"

#include <array>

// The nine boxes as plain strings, starting with the window's initial texts.
class FakeFieldView : public sg::model::FieldView
{
public:
    std::u16string data = u"0000";
    std::array<std::u16string, sg::model::PARAM_COUNT> params{u"00", u"00", u"00", u"00",
                                                              u"00", u"00", u"00", u"00"};

    std::u16string dataText() const override { return data; }
    void setDataText(const std::u16string &text) override { data = text; }
    std::u16string paramText(std::size_t index) const override { return params.at(index); }
    void setParamText(std::size_t index, const std::u16string &text) override
    {
        params.at(index) = text;
    }
};
