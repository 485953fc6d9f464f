#pragma once

#include "form/form.h"

#include <QFont>

namespace sg::ui {

// Makes "Tahoma" available where the system lacks it; call once after QApplication.
void RegisterFonts();

// The window's face at a size given in points at 96 dpi, so that text keeps its
// place in the pixel layout whatever the screen reports.
QFont UiFont(double points, bool bold, bool italic = false);
inline QFont UiFont(const form::Font &font)
{
    return UiFont(font.points, font.bold, font.italic);
}

} // namespace sg::ui
