#pragma once

#include "form/form.h"

#include "form/hint_layout.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <string_view>

namespace sg::ui {

// The form's texts and twips as Qt takes them; the layout is in 96-dpi pixels.
inline QString FromForm(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline QColor FromForm(const form::Colour &colour)
{
    return {colour.red, colour.green, colour.blue};
}

inline QRect FromTwips(const form::Twips &twips)
{
    constexpr int TWIPS_PER_PIXEL = form::TWIPS_PER_INCH / 96;
    return {twips.left / TWIPS_PER_PIXEL, twips.top / TWIPS_PER_PIXEL,
            twips.width / TWIPS_PER_PIXEL, twips.height / TWIPS_PER_PIXEL};
}

} // namespace sg::ui
