#pragma once

#include <QIcon>
#include <QPixmap>

namespace sg::ui {

// The tool's own icon, the same on every window.
QIcon AppIcon();

// The small picture in the lower left corner of the main window.
QPixmap PanelPicture();

} // namespace sg::ui
