#pragma once

class QWidget;

namespace sg::ui {

// Leaves the window's title bar empty, also on X11, where Qt would fill an empty title
// with the application's name. Call once the native window exists.
void ShowEmptyTitle(QWidget &window);

} // namespace sg::ui
