#pragma once

namespace sg::ui {

// What a screen reader is told that Qt cannot guess: both windows are windows, not
// panes, and the painted help sheet is text. Installed once, before any window is read.
void InstallAccessibility();

} // namespace sg::ui
