#pragma once

#include "form/form.h"
#include "model/field_view.h"

#include <string>

namespace sg::presenter {

// The window a transfer reads and writes, as the few calls both windows implement, keyed by
// the form's names; the nine entry boxes follow from them.
class WindowView : public model::FieldView
{
public:
    virtual std::u16string text(const form::ControlRef &box) const = 0;
    virtual void setText(const form::ControlRef &box, const std::u16string &text) = 0;
    virtual void setEnabled(const form::ControlRef &control, bool enabled) = 0;

    // model::FieldView
    std::u16string dataText() const final { return text(form::DATA_BOX); }
    void setDataText(const std::u16string &value) final { setText(form::DATA_BOX, value); }
    std::u16string paramText(std::size_t index) const final { return text(form::ParamBox(index)); }
    void setParamText(std::size_t index, const std::u16string &value) final
    {
        setText(form::ParamBox(index), value);
    }
};

} // namespace sg::presenter
