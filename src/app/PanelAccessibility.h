#pragma once

namespace horlan {

// What a screen reader finds in the main window's dark panel: each value label named after its
// field (its accessible name) and read through its text, and the field captions left out of
// the tree, since their words are in those names. The panel carries the dynamic property
// "horlanPanel" and each caption "horlanCaption", set where the widgets are made, so that
// they are known whenever Qt first asks for their interfaces.
//
// Lets Qt make those interfaces when it first needs one. Call after the application object is
// made (Qt asks the last installed factory first, and QApplication installs its own) and
// before the panel is; calling it again does nothing.
void InstallPanelAccessibility();

} // namespace horlan
