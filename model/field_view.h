#pragma once

#include <cstddef>
#include <string>

namespace sg::model {

// The nine entry boxes the blocks are edited in: DATA and parameter boxes 0..7.
class FieldView
{
public:
    virtual ~FieldView() = default;

    virtual std::u16string dataText() const = 0;
    virtual void setDataText(const std::u16string &text) = 0;
    virtual std::u16string paramText(std::size_t index) const = 0;
    virtual void setParamText(std::size_t index, const std::u16string &text) = 0;
};

} // namespace sg::model
