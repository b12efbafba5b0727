#pragma once

class QWidget;

namespace horlan {

// Lets `widget` (a small, often changing picture over a parent that is costly to paint, such as
// a group box with its title) repaint without its parent: what the parent painted behind it is
// copied from the window's buffer at the widget's first paint and drawn first on each later one.
// The copy is taken again after the widget moves or changes size, palette, style, font, state
// or pixel ratio. Lives as long as the widget.
void PaintOverCachedBackdrop(QWidget* widget);

} // namespace horlan
