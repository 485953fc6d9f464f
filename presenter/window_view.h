#pragma once

#include "model/field_view.h"

#include <string>

namespace sg::presenter {

// The controls a transfer reads and writes besides the nine entry boxes.
class WindowView : public model::FieldView
{
public:
    virtual std::u16string comText() const = 0;
    virtual void setReadEnabled(bool enabled) = 0;
    virtual void setStoreEnabled(bool enabled) = 0;
};

} // namespace sg::presenter
